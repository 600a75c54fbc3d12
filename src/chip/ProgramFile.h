#pragma once
// The program file (".prg"): a short header with summary values, then every register write in
// the order in which the chip loader sends them ("Page Reg Val").
#include <cstdint>
#include <string>
#include <vector>

#include "chip/RegisterImage.h"
#include "model/TextFile.h"

namespace gc::model {
struct ConfigurationModel;
}

namespace gc::chip {

inline constexpr int kPageRegister = 2;  // a write here selects the page of the writes after it

// One write to a chip register; a write to kPageRegister selects page value / 2.
struct RegisterWrite {
    int reg;
    int value;
};

// The ADC inputs that feed enabled channels in the current output mode, bit n = input n.
// Inputs outside 0..31 name no bit and are left out.
[[nodiscard]] std::uint32_t computeMaskAdc(const gc::model::ConfigurationModel& model);

// Total decimation of register channel k as the header shows it: CIC ratio from the image
// times 4 (CFIR and PFIR), divided by the interpolation of channel 0 and by 2^ModeOfDdc,
// computed in extended precision and rounded to float. An interpolation of 0 gives infinity.
[[nodiscard]] float totalDecimation(const gc::model::ConfigurationModel& model,
                                    const RegisterImage& image, int channel);

// The complete write list: 1054 writes, 68 of them page selections. The odd-channel phase
// offset is added to the phase words of channels 1 and 3 here, on a copy: the image is not
// changed, so writing the file twice gives the same file.
[[nodiscard]] std::vector<RegisterWrite> programWriteList(const RegisterImage& image);

// The whole program file text. Expects buildRegisterImage to have run just before.
[[nodiscard]] std::string programFileText(const gc::model::ConfigurationModel& model,
                                          const RegisterImage& image);

// Replaces the file at `path` atomically; false when it cannot be written (the old file, if
// any, is left as it was).
[[nodiscard]] gc::model::WriteResult writeProgramFile(const std::string& path,
                                                      const gc::model::ConfigurationModel& model,
                                                      const RegisterImage& image);

}  // namespace gc::chip
