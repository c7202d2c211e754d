#include "public/Thread.h"

#include <cstdio>
#include <system_error>

#include "quorex/Errors.h"

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
    } catch (const CDesignError& e) {
        std::printf("design error:\n%s\nin file %s, line %d\n", e.GetMessage(), e.GetFile(), e.GetLine());
        std::fflush(stdout);
    } catch (const CRuntimeError& e) {
        std::printf("runtime error:\n%s\nin file %s, line %d\n", e.GetMessage(), e.GetFile(), e.GetLine());
        std::fflush(stdout);
    }
    Exit();
}

}  // namespace quorex
