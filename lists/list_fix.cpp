#include "lists/list_fix.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace quendal {

LIST_FIX::LIST_FIX(int32_t recordSize) : recordSize_(recordSize < 0 ? 0 : recordSize) {}

LIST_FIX::LIST_FIX(const LIST_FIX& other) : recordSize_(other.recordSize_) {
    *this = other;
}

LIST_FIX& LIST_FIX::operator=(const LIST_FIX& other) {
    if (this == &other)
        return *this;
    Clear();
    recordSize_ = other.recordSize_;
    FreeSpare(); // kept nodes may be of the old size
    for (const Node* node = other.first_; node; node = node->next)
        if (Append(node->data()) != LIST_OK)
            throw std::bad_alloc();
    if (other.cursorPos_ > 0)
        Seek(other.cursorPos_);
    return *this;
}

LIST_FIX::~LIST_FIX() {
    Clear();
    FreeSpare();
}

void LIST_FIX::FreeSpare() {
    while (spare_) {
        Node* next = spare_->next;
        std::free(spare_);
        spare_ = next;
    }
}

int32_t LIST_FIX::Clear() {
    if (last_) {
        last_->next = spare_;
        spare_ = first_;
    }
    first_ = last_ = cursor_ = nullptr;
    count_ = cursorPos_ = 0;
    return LIST_OK;
}

LIST_FIX::Node* LIST_FIX::NewNode(const void* record) {
    void* raw = spare_;
    if (raw)
        spare_ = spare_->next;
    else
        raw = std::malloc(sizeof(Node) + static_cast<size_t>(recordSize_));
    if (!raw)
        return nullptr;
    Node* node = new (raw) Node{nullptr, nullptr};
    std::memcpy(node->data(), record, static_cast<size_t>(recordSize_));
    return node;
}

// Walks to position pos (1..count) from the nearest of the cursor, the first and the last node.
LIST_FIX::Node* LIST_FIX::FindNode(int32_t pos) const {
    const bool frontNearer = pos <= count_ / 2;
    const int32_t endDistance = frontNearer ? pos : count_ - pos;
    const int32_t cursorDistance = pos > cursorPos_ ? pos - cursorPos_ : cursorPos_ - pos;
    Node* node;
    if (cursorDistance <= endDistance) {
        node = cursor_;
        if (pos > cursorPos_)
            for (int32_t i = cursorPos_; i < pos; ++i)
                node = node->next;
        else
            for (int32_t i = cursorPos_; i > pos; --i)
                node = node->prev;
    } else if (frontNearer) {
        node = first_;
        for (int32_t i = 1; i < pos; ++i)
            node = node->next;
    } else {
        node = last_;
        for (int32_t i = count_; i > pos; --i)
            node = node->prev;
    }
    return node;
}

void LIST_FIX::LinkBefore(Node* node, Node* before) {
    node->next = before;
    node->prev = before->prev;
    if (before->prev)
        before->prev->next = node;
    else
        first_ = node;
    before->prev = node;
    ++count_;
}

int32_t LIST_FIX::Append(const void* record) {
    if (!record)
        return LIST_NO_RECORD;
    Node* node = NewNode(record);
    if (!node)
        return LIST_NO_MEMORY;
    node->prev = last_;
    if (last_)
        last_->next = node;
    else
        first_ = node;
    last_ = node;
    ++count_;
    if (!cursor_) {
        cursor_ = node;
        cursorPos_ = 1;
    }
    return LIST_OK;
}

int32_t LIST_FIX::InsertAt(const void* record, int32_t pos) {
    if (!record)
        return LIST_NO_RECORD;
    if (pos < 0 || pos > count_ + 1)
        return LIST_BAD_POS;
    if (count_ == 0 || pos == count_ + 1)
        return Append(record);
    Node* node = NewNode(record);
    if (!node)
        return LIST_NO_MEMORY;
    LinkBefore(node, pos == 0 ? cursor_ : FindNode(pos));
    if (pos <= cursorPos_)
        ++cursorPos_;
    return LIST_OK;
}

int32_t LIST_FIX::RemoveAt(int32_t pos) {
    if (count_ == 0)
        return LIST_EMPTY;
    if (pos < 0 || pos > count_)
        return LIST_BAD_POS;
    Node* node = pos == 0 ? cursor_ : FindNode(pos);
    if (pos == 0)
        pos = cursorPos_;
    if (node == cursor_) {
        if (node->next) {
            cursor_ = node->next;
        } else if (node->prev) {
            cursor_ = node->prev;
            --cursorPos_;
        } else {
            cursor_ = nullptr;
            cursorPos_ = 0;
        }
    } else if (pos < cursorPos_) {
        --cursorPos_;
    }
    (node->prev ? node->prev->next : first_) = node->next;
    (node->next ? node->next->prev : last_) = node->prev;
    --count_;
    std::free(node);
    return LIST_OK;
}

int32_t LIST_FIX::CopyAt(void* out, int32_t pos) const {
    if (!out)
        return LIST_NO_RECORD;
    if (count_ == 0)
        return LIST_EMPTY;
    if (pos < 0 || pos > count_)
        return LIST_BAD_POS;
    const Node* node = pos == 0 ? cursor_ : FindNode(pos);
    std::memcpy(out, node->data(), static_cast<size_t>(recordSize_));
    return LIST_OK;
}

void* LIST_FIX::ItemAt(int32_t pos) {
    if (count_ == 0 || pos < 0 || pos > count_)
        return nullptr;
    return (pos == 0 ? cursor_ : FindNode(pos))->data();
}

int32_t LIST_FIX::MoveFirst(void* out) {
    if (count_ == 0)
        return LIST_EMPTY;
    cursor_ = first_;
    cursorPos_ = 1;
    if (out)
        std::memcpy(out, cursor_->data(), static_cast<size_t>(recordSize_));
    return LIST_OK;
}

void* LIST_FIX::FirstItem() {
    if (count_ == 0)
        return nullptr;
    cursor_ = first_;
    cursorPos_ = 1;
    return cursor_->data();
}

int32_t LIST_FIX::MoveNext(void* out) {
    if (count_ == 0)
        return LIST_EMPTY;
    if (!cursor_->next)
        return LIST_AT_END;
    cursor_ = cursor_->next;
    ++cursorPos_;
    if (out)
        std::memcpy(out, cursor_->data(), static_cast<size_t>(recordSize_));
    return LIST_OK;
}

void* LIST_FIX::NextItem() {
    if (count_ == 0 || !cursor_->next)
        return nullptr;
    cursor_ = cursor_->next;
    ++cursorPos_;
    return cursor_->data();
}

int32_t LIST_FIX::Seek(int32_t pos) {
    if (count_ == 0)
        return LIST_EMPTY;
    if (pos <= 0 || pos > count_)
        return LIST_BAD_POS;
    cursor_ = FindNode(pos);
    cursorPos_ = pos;
    return LIST_OK;
}

} // namespace quendal
