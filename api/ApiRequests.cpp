// The request methods of CTraderApi and CAdminApi, expanded from requests.def. Each builds its
// package into the dialog flow's queue and returns 0, or -1 without a session, without a record to
// send, or when a record does not fit in the package (a request is never sent cut short); the
// answer arrives later through the response callback.
#include "api/ApiState.h"

namespace quorex {
namespace {

// The list forms: items up to the first one whose indentNo is empty; false when one did not fit.
template <class Item>
bool AddListUntilEmpty(CXTPPackage& package, const Item* items) {
    for (; items != nullptr && items->indentNo[0] != '\0'; ++items) {
        if (!package.AddRecord(*items)) return false;
    }
    return true;
}

}  // namespace
}  // namespace quorex

using quorex::CXTPPackage;

#define QX_SINGLE(Class, Method, Tid, Record)                                               \
    int Class::Method(const Record* record, const char* requestId) {                        \
        if (record == nullptr) return -1;                                                   \
        return m_pState->QueueRequest(Tid, requestId,                                       \
                                      [&](CXTPPackage& package) { return package.AddRecord(*record); }); \
    }
#define QX_PAIR(Class, Method, Tid, Record, Second)                                         \
    int Class::Method(const Record* record, const Second* second, const char* requestId) {  \
        if (record == nullptr || second == nullptr) return -1;                              \
        return m_pState->QueueRequest(Tid, requestId, [&](CXTPPackage& package) {           \
            return package.AddRecord(*record) && package.AddRecord(*second);                \
        });                                                                                 \
    }
#define QX_LIST(Class, Method, Tid, Record, Item)                                           \
    int Class::Method(const Record* record, const Item* items, const char* requestId) {     \
        if (record == nullptr) return -1;                                                   \
        return m_pState->QueueRequest(Tid, requestId, [&](CXTPPackage& package) {           \
            return package.AddRecord(*record) && quorex::AddListUntilEmpty(package, items); \
        });                                                                                 \
    }
#define QX_CLASS_TRADER CTraderApi
#define QX_CLASS_ADMIN CAdminApi
#define QX_REQUEST(cls, Method, Tid, Record) QX_SINGLE(QX_CLASS_##cls, Method, Tid, Record)
#define QX_REQUEST_PAIR(cls, Method, Tid, Record, Second) QX_PAIR(QX_CLASS_##cls, Method, Tid, Record, Second)
#define QX_REQUEST_LIST(cls, Method, Tid, Record, Item) QX_LIST(QX_CLASS_##cls, Method, Tid, Record, Item)
#include "quorex/requests.def"
