#include "AccessDialogThread.h"

#include <objbase.h>

namespace AccessTest {
namespace {

constexpr DWORD kStartTimeoutMs = 10000;

} // namespace

AccessDialogThread::AccessDialogThread() {
    m_shown = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    m_thread = CreateThread(nullptr, 0, Main, this, 0, nullptr);
    if (!m_thread || WaitForSingleObject(m_shown, kStartTimeoutMs) != WAIT_OBJECT_0)
        m_window = nullptr;
}

AccessDialogThread::~AccessDialogThread() {
    if (!WaitForEnd(0)) {
        Run([](CAccessTestDialog& dialog) { dialog.EndDialog(-1); });
        // A thread that does not end is left to the end of the process, which the test's
        // time limit bounds.
        WaitForEnd(kStartTimeoutMs);
    }
    if (m_thread)
        CloseHandle(m_thread);
    CloseHandle(m_shown);
}

DWORD WINAPI AccessDialogThread::Main(void* self) {
    auto* thread = static_cast<AccessDialogThread*>(self);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    {
        CAccessTestDialog dialog;
        thread->m_dialog = &dialog;
        dialog.OnShown([&] {
            thread->m_window = dialog.m_hWnd;
            SetEvent(thread->m_shown);
        });
        thread->m_result = dialog.DoModal(nullptr);
        thread->m_commands = dialog.Commands();
        thread->m_dialog = nullptr;
    }
    SetEvent(thread->m_shown);
    CoUninitialize();
    return 0;
}

bool AccessDialogThread::Run(const std::function<void(CAccessTestDialog&)>& work) {
    if (!m_window)
        return false;
    const std::function<void()> call = [&] {
        if (m_dialog)
            work(*m_dialog);
    };
    DWORD_PTR answer = 0;
    return SendMessageTimeoutW(m_window, CAccessTestDialog::kRunMessage, 0,
                               reinterpret_cast<LPARAM>(&call), SMTO_NORMAL, 10000, &answer) != 0;
}

bool AccessDialogThread::WaitForEnd(DWORD timeoutMs) {
    if (!m_thread || WaitForSingleObject(m_thread, timeoutMs) != WAIT_OBJECT_0)
        return !m_thread;
    m_window = nullptr;
    return true;
}

} // namespace AccessTest
