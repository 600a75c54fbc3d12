#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "appconfig/RequirementFile.h"
#include "model/TextFile.h"

namespace gc::appconfig {
namespace {

using gc::analysis::Requirement;
namespace fs = std::filesystem;

Requirement full() {
    Requirement r;
    r.passbandHz = 80000.0;
    r.stopbandHz = 195312.5;
    r.rippleMaxDb = 0.5;
    r.stopbandMinDb = 80.0;
    r.aliasRejectionMinDb = 92.25;
    return r;
}

bool same(const Requirement& a, const Requirement& b) {
    return a.passbandHz == b.passbandHz && a.stopbandHz == b.stopbandHz &&
           a.rippleMaxDb == b.rippleMaxDb && a.stopbandMinDb == b.stopbandMinDb &&
           a.aliasRejectionMinDb == b.aliasRejectionMinDb;
}

fs::path freshDir(const char* name) {
    const fs::path dir = fs::temp_directory_path() / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

TEST(RequirementFile, TextIsByteExactAndRoundTrips) {
    const auto golden = gc::model::readFileBytes(std::string(GC_SOURCE_DIR) +
                                                 "/tests/appconfig/golden/requirement.req");
    ASSERT_TRUE(golden.has_value());
    EXPECT_EQ(requirementText(full()), *golden);

    // Only the given limits are written; full precision survives the text.
    Requirement part;
    part.passbandHz = 0.1 + 0.2;
    part.stopbandMinDb = 1e-7;
    EXPECT_EQ(
        requirementText(part),
        "*** Channel requirement ***\nPassbandHz= 0.30000000000000004 \nStopbandMinDb= 1e-07 \n");

    const fs::path dir = freshDir("gc_requirement_roundtrip");
    for (const Requirement& r : {full(), part}) {
        const std::string path = (dir / "a.req").string();
        ASSERT_TRUE(writeRequirement(path, r));
        Requirement back;
        back.rippleMaxDb = 3.0;  // replaced by what the file says, absent included
        ASSERT_EQ(readRequirement(path, back), RequirementReadStatus::Ok);
        EXPECT_TRUE(same(back, r));
    }
    EXPECT_FALSE(writeRequirement((dir / "absent" / "a.req").string(), full()));

    EXPECT_EQ(requirementPath("CONFIGS/std.trv"), "CONFIGS/std.req");
    EXPECT_EQ(requirementPath("../x.y/cfg"), "../x.y/cfg.req");

    // Removing: afterwards there is no requirement; removing nothing is fine.
    const std::string path = (dir / "a.req").string();
    EXPECT_TRUE(removeRequirement(path));
    EXPECT_TRUE(removeRequirement(path));
    Requirement kept = full();
    EXPECT_EQ(readRequirement(path, kept), RequirementReadStatus::Missing);
    EXPECT_TRUE(same(kept, full()));
}

TEST(RequirementFile, DamagedFilesLeaveTheRequirementAlone) {
    const std::string ok = requirementText(full());
    auto replaced = [&](const std::string& from, const std::string& to) {
        std::string t = ok;
        t.replace(t.find(from), from.size(), to);
        return t;
    };
    // Accepted variants: CR LF line ends, no final line end, no trailing blank.
    for (const std::string& text :
         {replaced("\n", "\r\n"), ok.substr(0, ok.size() - 1), replaced("80000 ", "80000")}) {
        Requirement r;
        EXPECT_EQ(parseRequirement(text, r), RequirementReadStatus::Ok) << text;
        EXPECT_EQ(r.passbandHz, 80000.0);
    }
    const std::string damaged[] = {
        "",
        "*** Channel requirement **\n",
        "*** Channel requirement ***\n",  // no pass-band edge
        replaced("PassbandHz= 80000 ", "PassbandHz=80000"),
        replaced("PassbandHz= 80000 ", "PassbandHz= "),
        replaced("PassbandHz= 80000 ", "PassbandHz= 8O000 "),
        replaced("PassbandHz= 80000 ", "PassbandHz= nan "),
        replaced("PassbandHz= 80000 ", "PassbandHz= inf "),
        replaced("PassbandHz= 80000 ", "PassbandHz= 80000 x"),
        replaced("StopbandMinDb", "StopbandMaxDb"),
        replaced("RippleMaxDb= 0.5 \n", "") + "RippleMaxDb= 0.5 \n",  // out of order
        ok + "AliasRejectionMinDb= 1 \n",                             // twice
        replaced("\nStopbandHz", "\n\nStopbandHz"),                   // empty line inside
    };
    for (const std::string& text : damaged) {
        Requirement r = full();
        r.passbandHz = 1.0;
        EXPECT_EQ(parseRequirement(text, r), RequirementReadStatus::Damaged) << text;
        EXPECT_EQ(r.passbandHz, 1.0);
    }

    const fs::path dir = freshDir("gc_requirement_damaged");
    Requirement r;
    EXPECT_EQ(readRequirement((dir / "none.req").string(), r), RequirementReadStatus::Missing);
    fs::create_directories(dir / "folder.req");
    EXPECT_EQ(readRequirement((dir / "folder.req").string(), r), RequirementReadStatus::Damaged);
    {
        std::ofstream big(dir / "big.req", std::ios::binary);
        big << ok << std::string(kRequirementFileMax, ' ');
    }
    EXPECT_EQ(readRequirement((dir / "big.req").string(), r), RequirementReadStatus::Damaged);
}

}  // namespace
}  // namespace gc::appconfig
