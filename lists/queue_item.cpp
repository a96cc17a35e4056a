#include "lists/queue_item.h"

#include <algorithm>

#include "lists/utf8_text.h"

namespace quendal {

constexpr const char* kKindWords[5] = {"", "min", "max", "fab", "mine"};
constexpr const char* kKindNames[5] = {"", TrNoop("Мин.терраформ."), TrNoop("Макс.терраформ."),
                                       TrNoop("Фабрики"), TrNoop("Шахты")};

const char* ItemKindWord(int32_t kind) {
    return kKindWords[kind >= MinTerraform && kind <= Mines ? kind : 0];
}

const char* ItemKindName(int32_t kind) {
    return kKindNames[kind >= MinTerraform && kind <= Mines ? kind : 0];
}

int32_t KindOfWord(std::string_view word) {
    for (int32_t kind = MinTerraform; kind <= Mines; ++kind)
        if (!word.empty() && word == kKindWords[kind])
            return kind;
    return 0;
}

std::string ElementText(const QueueItem& item) {
    std::string text = *ItemKindWord(item.kind) ? ItemKindWord(item.kind) : "?";
    if (item.kind != MinTerraform || item.count != 1)
        text.append(":").append(std::to_string(item.count));
    return text;
}

std::string QueueLineText(const QueueItem& item, Language language) {
    if (item.kind < MinTerraform || item.kind > Mines)
        return Tr(language, "неопред-й эл-нт");
    // The width counts letters, not bytes.
    const std::string_view name = Translate(language, ItemKindName(item.kind));
    std::string line(name);
    line.append(16 - std::min<size_t>(Utf8Length(name), 16), ' ');
    return line + ' ' + std::to_string(item.count);
}

std::vector<QueueItem> ItemsOf(const LIST_ITEM& list) {
    std::vector<QueueItem> items;
    for (const QueueItem& item : list)
        items.push_back(item);
    return items;
}

} // namespace quendal
