// CRecordIndex: AVL insertion with a bounded path, search for the leftmost match, node blocks.
#include "client/shell/RecordIndex.h"

#include <array>

#include "client/shell/ClientErrors.h"

namespace kvt {

namespace {
// An AVL tree of height h holds at least Fibonacci(h + 2) - 1 nodes; 96 levels would need more
// nodes than any address space holds, so the insertion path always fits.
constexpr std::size_t kMaxPath = 96;
}  // namespace

CRecordIndex::CRecordIndex(RecordCompare compare) : m_compare(compare) {
    if (compare == nullptr) throw CDesignError(kRecordIndexNoCompare, kModuleRecordTable, __LINE__);
}

void CRecordIndex::Insert(const void* record) {
    // path[i] is the link that points to the i-th node on the way down; path[0] is the root link.
    std::array<CNode**, kMaxPath> path;
    std::size_t depth = 0;
    CNode** link = &m_root;
    while (*link != nullptr) {
        path[depth++] = link;
        link = m_compare(record, (*link)->record) < 0 ? &(*link)->left : &(*link)->right;
    }
    *link = NewNode(record);
    ++m_size;
    while (depth > 0) {
        CNode*& parent = *path[--depth];
        const int before = parent->height;
        Rebalance(parent);
        if (parent->height == before) break;
    }
}

bool CRecordIndex::Remove(const void* record) {
    if (!RemoveFrom(m_root, record)) return false;
    --m_size;
    return true;
}

// Recursion depth is the tree's height, at most kMaxPath.
bool CRecordIndex::RemoveFrom(CNode*& link, const void* record) {
    CNode* node = link;
    if (node == nullptr) return false;
    const int order = m_compare(record, node->record);
    bool removed = false;
    if (order < 0) {
        removed = RemoveFrom(node->left, record);
    } else if (order > 0) {
        removed = RemoveFrom(node->right, record);
    } else if (node->record == record) {
        Unlink(link);
        return true;
    } else {
        // Rotations spread equal keys over both subtrees.
        removed = RemoveFrom(node->left, record) || RemoveFrom(node->right, record);
    }
    if (removed) Rebalance(link);
    return removed;
}

void CRecordIndex::Unlink(CNode*& link) {
    CNode* node = link;
    if (node->left == nullptr) {
        link = node->right;
    } else if (node->right == nullptr) {
        link = node->left;
    } else {
        CNode* successor = DetachLeftmost(node->right);
        successor->left = node->left;
        successor->right = node->right;
        link = successor;
        Rebalance(link);
    }
    node->right = m_free;
    m_free = node;
}

CRecordIndex::CNode* CRecordIndex::DetachLeftmost(CNode*& link) {
    if (link->left == nullptr) {
        CNode* leftmost = link;
        link = leftmost->right;
        return leftmost;
    }
    CNode* leftmost = DetachLeftmost(link->left);
    Rebalance(link);
    return leftmost;
}

const void* CRecordIndex::FindFirst(const void* probe) const {
    const void* found = nullptr;
    const CNode* node = m_root;
    while (node != nullptr) {
        const int order = m_compare(probe, node->record);
        if (order == 0) found = node->record;
        node = order <= 0 ? node->left : node->right;
    }
    return found;
}

void CRecordIndex::Clear() {
    m_blocks.clear();
    m_root = nullptr;
    m_free = nullptr;
    m_size = 0;
}

CRecordIndex::CNode* CRecordIndex::NewNode(const void* record) {
    if (m_free == nullptr) {
        m_blocks.push_back(std::make_unique<CNode[]>(kNodesPerBlock));
        CNode* block = m_blocks.back().get();
        for (std::size_t i = 0; i < kNodesPerBlock; ++i) {
            block[i].right = m_free;
            m_free = &block[i];
        }
    }
    CNode* node = m_free;
    m_free = node->right;
    *node = CNode{record, nullptr, nullptr, 1};
    return node;
}

void CRecordIndex::UpdateHeight(CNode* node) {
    const int left = HeightOf(node->left);
    const int right = HeightOf(node->right);
    node->height = 1 + (left > right ? left : right);
}

void CRecordIndex::RotateLeft(CNode*& link) {
    CNode* top = link->right;
    link->right = top->left;
    top->left = link;
    UpdateHeight(link);
    UpdateHeight(top);
    link = top;
}

void CRecordIndex::RotateRight(CNode*& link) {
    CNode* top = link->left;
    link->left = top->right;
    top->right = link;
    UpdateHeight(link);
    UpdateHeight(top);
    link = top;
}

void CRecordIndex::Rebalance(CNode*& link) {
    CNode* node = link;
    const int balance = HeightOf(node->left) - HeightOf(node->right);
    if (balance >= 2) {
        if (HeightOf(node->left->left) < HeightOf(node->left->right)) RotateLeft(node->left);
        RotateRight(link);
    } else if (balance <= -2) {
        if (HeightOf(node->right->right) < HeightOf(node->right->left)) RotateRight(node->right);
        RotateLeft(link);
    } else {
        UpdateHeight(node);
    }
}

}  // namespace kvt
