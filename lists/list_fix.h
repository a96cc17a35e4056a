#pragma once

#include <cstdint>

namespace quendal {

// Status codes of LIST_FIX operations.
enum ListStatus : int32_t {
    LIST_OK = 0,
    LIST_AT_END = 2,     // MoveNext: the cursor already stands on the last record
    LIST_EMPTY = -1,     // the list holds no record
    LIST_BAD_POS = -2,   // position out of range
    LIST_NO_MEMORY = -3, // no node could be allocated; the list is unchanged
    LIST_NO_RECORD = -4, // a null record was given
};

// A doubly linked list of fixed-size plain records with a cursor.
// Positions are 1-based; several operations take position 0 to mean the cursor node.
// Records go in and come out as byte copies, so they must own no memory.
class LIST_FIX {
    struct Node;

public:
    explicit LIST_FIX(int32_t recordSize);
    ~LIST_FIX();
    // A copy holds copies of the records, with the cursor on the same position.
    LIST_FIX(const LIST_FIX& other);
    LIST_FIX& operator=(const LIST_FIX& other);

    int32_t Clear();
    int32_t Append(const void* record);
    int32_t InsertAt(const void* record, int32_t pos);
    int32_t RemoveAt(int32_t pos);
    int32_t CopyAt(void* out, int32_t pos) const;
    void* ItemAt(int32_t pos);
    int32_t MoveFirst(void* out);
    void* FirstItem();
    int32_t MoveNext(void* out);
    void* NextItem();
    int32_t Seek(int32_t pos);

    int32_t count() const { return count_; }
    int32_t cursorPos() const { return cursorPos_; }
    int32_t recordSize() const { return recordSize_; }

    // Reads the records in order without the cursor, so that reading changes nothing.
    template <typename Record> class ConstIterator {
    public:
        explicit ConstIterator(const Node* node = nullptr) : node_(node) {}
        const Record& operator*() const { return *reinterpret_cast<const Record*>(node_->data()); }
        ConstIterator& operator++() {
            node_ = node_->next;
            return *this;
        }
        bool operator==(const ConstIterator& other) const { return node_ == other.node_; }

    private:
        const Node* node_;
    };

protected:
    const Node* firstNode() const { return first_; }

private:
    struct Node {
        Node* prev;
        Node* next;
        // The record bytes follow the node header in the same allocation.
        unsigned char* data() { return reinterpret_cast<unsigned char*>(this + 1); }
        const unsigned char* data() const {
            return reinterpret_cast<const unsigned char*>(this + 1);
        }
    };

    Node* NewNode(const void* record);
    void FreeSpare();
    Node* FindNode(int32_t pos) const;
    void LinkBefore(Node* node, Node* before);

    int32_t recordSize_;
    int32_t cursorPos_ = 0;
    int32_t count_ = 0;
    Node* first_ = nullptr;
    Node* last_ = nullptr;
    Node* cursor_ = nullptr;
    // Nodes of earlier records kept by Clear for reuse, so that a list refilled again and
    // again (a search's templates) allocates only while it grows.
    Node* spare_ = nullptr;
};

// A LIST_FIX fixed to one record type; adds typed access and reading by range-for.
template <typename Record> class RecordList : public LIST_FIX {
public:
    RecordList() : LIST_FIX(static_cast<int32_t>(sizeof(Record))) {}

    Record* At(int32_t pos) { return static_cast<Record*>(ItemAt(pos)); }
    Record* First() { return static_cast<Record*>(FirstItem()); }
    Record* Next() { return static_cast<Record*>(NextItem()); }

    using const_iterator = ConstIterator<Record>;
    const_iterator begin() const { return const_iterator(firstNode()); }
    const_iterator end() const { return const_iterator(); }
};

} // namespace quendal
