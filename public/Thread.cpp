#include "public/Thread.h"

#include <system_error>

#include "public/ErrorReport.h"

namespace quorex {

CThread::~CThread() { Join(); }

bool CThread::Start() {
    try {
        m_thread = std::thread(&CThread::Routine, this);
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void CThread::Join() {
    if (m_thread.joinable() && m_thread.get_id() != std::this_thread::get_id()) m_thread.join();
}

void CThread::Routine() {
    m_threadId.store(std::this_thread::get_id(), std::memory_order_release);
    try {
        if (Init()) Run();
    } catch (const CDesignError& error) {
        ReportError(error);
    } catch (const CRuntimeError& error) {
        ReportError(error);
    }
    Exit();
}

}  // namespace quorex
