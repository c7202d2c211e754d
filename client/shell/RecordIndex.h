// CRecordIndex: one sorted index of a CRecordTable, an AVL tree of record pointers ordered by a
// compare function that returns -1, 0 or 1. Equal keys go to the right of the ones already there,
// so in key order equal records keep the order in which they were inserted, and FindFirst returns
// the one inserted first. Every node keeps the height of its subtree (a leaf has height 1).
//
// Insertion walks down from the root, links the new leaf, then walks back up the same path,
// recomputing heights and rotating where the heights of a node's two subtrees differ by 2; it
// stops at the first node whose height did not change. Removal finds the node that holds the very
// record (among the equal keys), puts its in-order successor in its place and rebalances the path.
// Nodes come from blocks of 128 with a free list, so inserting allocates once per 128 records and
// a removed node is used again.
//
// Thread contract: none; a page uses its index on the user interface thread only.
// Ownership: the index owns its nodes, not the records they point to.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

namespace kvt {

// Returns exactly -1, 0 or 1 for a before, equal to, or after b.
using RecordCompare = int (*)(const void* a, const void* b);

class CRecordIndex {
public:
    struct CNode {
        const void* record;
        CNode* left;
        CNode* right;
        int height;
    };
    static constexpr std::size_t kNodesPerBlock = 128;

    // Throws CDesignError without a compare function.
    explicit CRecordIndex(RecordCompare compare);
    CRecordIndex(const CRecordIndex&) = delete;
    CRecordIndex& operator=(const CRecordIndex&) = delete;
    ~CRecordIndex() = default;

    void Insert(const void* record);
    // Takes out the node of this record (the pointer, not an equal key); false when it has none.
    // The record must still compare as it did when it was inserted.
    bool Remove(const void* record);
    // The first inserted of the records that compare equal to probe, or null.
    const void* FindFirst(const void* probe) const;
    // Frees every node block and empties the tree.
    void Clear();

    std::size_t Size() const { return m_size; }
    // The tree, read-only, for walking it in key order.
    const CNode* Root() const { return m_root; }
    RecordCompare Compare() const { return m_compare; }

    // Calls visit(record) for every record in key order.
    template <class Visit>
    void ForEachInOrder(Visit visit) const {
        std::vector<const CNode*> pending;
        const CNode* node = m_root;
        while (node != nullptr || !pending.empty()) {
            for (; node != nullptr; node = node->left) pending.push_back(node);
            node = pending.back();
            pending.pop_back();
            visit(node->record);
            node = node->right;
        }
    }

private:
    CNode* NewNode(const void* record);
    bool RemoveFrom(CNode*& link, const void* record);
    void Unlink(CNode*& link);
    static CNode* DetachLeftmost(CNode*& link);
    static int HeightOf(const CNode* node) { return node == nullptr ? 0 : node->height; }
    static void UpdateHeight(CNode* node);
    static void RotateLeft(CNode*& link);
    static void RotateRight(CNode*& link);
    static void Rebalance(CNode*& link);

    RecordCompare m_compare;
    CNode* m_root = nullptr;
    CNode* m_free = nullptr;  // unused nodes of the allocated blocks, linked through right
    std::vector<std::unique_ptr<CNode[]>> m_blocks;
    std::size_t m_size = 0;
};

}  // namespace kvt
