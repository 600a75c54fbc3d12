#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "appconfig/TapSourceFile.h"

namespace gc::appconfig {
namespace {

namespace fs = std::filesystem;

TEST(TapSourceFile, TextRoundTripsAndAnythingElseIsDamagedAndChangesNothing) {
    EXPECT_EQ(tapSourcePath("CONFIGS/a.b.trv"), "CONFIGS/a.b.src");
    EXPECT_EQ(tapSourceText({true, false, true}),
              "*** Tap sources ***\nCFIR= file\nPFIR= table\nRFIR= file\n");
    for (int bits = 0; bits < 8; ++bits) {
        const TapSources s{(bits & 1) != 0, (bits & 2) != 0, (bits & 4) != 0};
        TapSources back{!s.cfirFromFile, !s.pfirFromFile, !s.resamplerFromFile};
        ASSERT_EQ(parseTapSources(tapSourceText(s), back), TapSourceReadStatus::Ok);
        EXPECT_EQ(back, s) << bits;
        EXPECT_EQ(s.anyFromFile(), bits != 0);
    }
    // Line ends of another system and blanks after a value are taken.
    TapSources read;
    EXPECT_EQ(
        parseTapSources("*** Tap sources ***\r\nCFIR= table  \r\nPFIR= file\r\nRFIR= table", read),
        TapSourceReadStatus::Ok);
    EXPECT_EQ(read, (TapSources{false, true, false}));

    const TapSources before{true, true, true};
    for (const char* bad :
         {"", "*** Tap sources ***\n", "*** Tap source ***\nCFIR= file\nPFIR= file\nRFIR= file\n",
          "*** Tap sources ***\nPFIR= file\nCFIR= file\nRFIR= file\n",
          "*** Tap sources ***\nCFIR= File\nPFIR= file\nRFIR= file\n",
          "*** Tap sources ***\nCFIR=file\nPFIR= file\nRFIR= file\n",
          "*** Tap sources ***\nCFIR= file\nPFIR= file\nRFIR= file\nRFIR= table\n",
          "*** Tap sources ***\nCFIR= file\nPFIR= file\n\nRFIR= file\n"}) {
        TapSources s = before;
        EXPECT_EQ(parseTapSources(bad, s), TapSourceReadStatus::Damaged) << bad;
        EXPECT_EQ(s, before);
    }

    const fs::path dir = fs::temp_directory_path() / "gc_tap_sources";
    fs::remove_all(dir);
    fs::create_directories(dir / "folder.src");
    TapSources s = before;
    EXPECT_EQ(readTapSources((dir / "none.src").string(), s), TapSourceReadStatus::Missing);
    EXPECT_EQ(readTapSources((dir / "folder.src").string(), s), TapSourceReadStatus::Damaged);
    std::ofstream((dir / "big.src").string()) << std::string(5000, 'x');
    EXPECT_EQ(readTapSources((dir / "big.src").string(), s), TapSourceReadStatus::Damaged);
    EXPECT_EQ(s, before);
    fs::remove_all(dir);
}

}  // namespace
}  // namespace gc::appconfig
