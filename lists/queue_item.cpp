#include "lists/queue_item.h"

#include <cstring>

namespace quendal {

const char* ItemKindName(int32_t kind) {
    switch (kind) {
    case MinTerraform:
        return "Мин.терраформ.";
    case MaxTerraform:
        return "Макс.терраформ.";
    case Factories:
        return "Фабрики";
    case Mines:
        return "Шахты";
    default:
        return "";
    }
}

namespace {

// Characters (not bytes) of a UTF-8 text: the field widths count letters, as the original
// single-byte code page did.
size_t Utf8Length(const char* text) {
    size_t n = 0;
    for (const char* p = text; *p; ++p)
        if ((static_cast<unsigned char>(*p) & 0xC0) != 0x80)
            ++n;
    return n;
}

} // namespace

std::string QueueLineText(const QueueItem& item) {
    if (item.kind < MinTerraform || item.kind > Mines)
        return "неопред-й эл-нт";
    const char* name = ItemKindName(item.kind);
    std::string line = name;
    for (size_t n = Utf8Length(name); n < 16; ++n)
        line += ' ';
    line += ' ';
    line += std::to_string(item.count);
    return line;
}

} // namespace quendal
