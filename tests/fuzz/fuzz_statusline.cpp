// Feeds arbitrary bytes to the status line decoder for every charger model. Besides the
// sanitizers' checks, a line that decodes must start like a status line and leave the cells
// beyond the model alone.

#include "charger/statusline.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The reader hands the decoder a NUL-terminated line of at most kMaxLineBytes bytes, but
    // the decoder must not rely on that.
    const std::string line(reinterpret_cast<const char*>(data), size);
    for (int cells : {6, 8, 10}) {
        ChargerValues values;
        for (double& cell : values.m_adCellVoltage)
            cell = -1.0;
        if (!StatusLine::decode(line.c_str(), cells, &values))
            continue;
        if (std::strncmp(line.c_str(), "$1;", 3) != 0)
            std::abort();
        for (int i = cells; i < ChargerValues::kMaxCells; ++i) {
            if (values.m_adCellVoltage[i] != -1.0)
                std::abort();
        }
    }
    int fields[32];
    const int scanned = StatusLine::scan(line.c_str(), fields, 32);
    if (scanned < 0 || scanned > 32)
        std::abort();
    return 0;
}
