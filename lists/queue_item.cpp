#include "lists/queue_item.h"

#include "lists/utf8_text.h"

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

std::string QueueLineText(const QueueItem& item) {
    if (item.kind < MinTerraform || item.kind > Mines)
        return "неопред-й эл-нт";
    // The width counts letters, not bytes.
    const char* name = ItemKindName(item.kind);
    std::string line = name;
    for (size_t n = Utf8Length(name); n < 16; ++n)
        line += ' ';
    line += ' ';
    line += std::to_string(item.count);
    return line;
}

} // namespace quendal
