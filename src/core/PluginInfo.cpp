#include "core/PluginInfo.h"

#include <cstring>

namespace bk {

void FillPlugInInfo(char* record) {
    const char* fields[] = {BK_PLUGIN_NAME, BK_PLUGIN_VENDOR, BK_PLUGIN_VERSION,
                            BK_PLUGIN_DESCRIPTION};
    for (int i = 0; i < 4; ++i) {
        char* field = record + i * kInfoFieldSize;
        std::size_t n = std::strlen(fields[i]);
        if (n > kInfoFieldSize - 1) n = kInfoFieldSize - 1;
        std::memcpy(field, fields[i], n);
        field[n] = '\0';
    }
}

}  // namespace bk
