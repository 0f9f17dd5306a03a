#pragma once
// Message maps in the WTL manner: a class lists what it does with each message between
// BEGIN_MSG_MAP and END_MSG_MAP, in order; the first entry that handles a message ends
// the search. A handler may set bHandled to FALSE to let later entries (and in the end
// the default processing) have the message.
//
//   LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
//   LRESULT OnCommand(WORD notifyCode, WORD id, HWND control, BOOL& bHandled);
//   LRESULT OnNotify(int id, LPNMHDR header, BOOL& bHandled);
#include <windows.h>

#include "Reflection.h"

class CMessageMap {
  public:
    virtual ~CMessageMap() = default;
    // TRUE if the map handled the message; its result is then in result. Only map 0
    // exists.
    virtual BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      LRESULT& result, DWORD mapId = 0) = 0;
};

// clang-format off
#define BEGIN_MSG_MAP(theClass)                                                            \
  public:                                                                                  \
    BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam,         \
                              LRESULT& lResult, DWORD dwMsgMapID = 0) {                    \
        BOOL bHandled = TRUE;                                                              \
        (void)hWnd; (void)uMsg; (void)wParam; (void)lParam; (void)lResult; (void)bHandled; \
        if (dwMsgMapID != 0)                                                               \
            return FALSE;

#define MESSAGE_HANDLER(msg, func)                                                         \
        if (uMsg == static_cast<UINT>(msg)) {                                              \
            bHandled = TRUE;                                                               \
            lResult = func(uMsg, wParam, lParam, bHandled);                                \
            if (bHandled)                                                                  \
                return TRUE;                                                               \
        }

#define MESSAGE_RANGE_HANDLER(msgFirst, msgLast, func)                                     \
        if (uMsg - static_cast<UINT>(msgFirst) <=                                          \
            static_cast<UINT>(msgLast) - static_cast<UINT>(msgFirst)) {                     \
            bHandled = TRUE;                                                               \
            lResult = func(uMsg, wParam, lParam, bHandled);                                \
            if (bHandled)                                                                  \
                return TRUE;                                                               \
        }

#define COMMAND_HANDLER(id, code, func)                                                    \
        if (uMsg == WM_COMMAND && LOWORD(wParam) == static_cast<WORD>(id) &&               \
            HIWORD(wParam) == static_cast<WORD>(code)) {                                   \
            bHandled = TRUE;                                                               \
            lResult = func(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam), \
                           bHandled);                                                      \
            if (bHandled)                                                                  \
                return TRUE;                                                               \
        }

#define COMMAND_ID_HANDLER(id, func)                                                       \
        if (uMsg == WM_COMMAND && LOWORD(wParam) == static_cast<WORD>(id)) {               \
            bHandled = TRUE;                                                               \
            lResult = func(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam), \
                           bHandled);                                                      \
            if (bHandled)                                                                  \
                return TRUE;                                                               \
        }

#define NOTIFY_HANDLER(id, cd, func)                                                       \
        if (uMsg == WM_NOTIFY && lParam &&                                                 \
            reinterpret_cast<LPNMHDR>(lParam)->idFrom == static_cast<UINT_PTR>(id) &&      \
            reinterpret_cast<LPNMHDR>(lParam)->code == static_cast<UINT>(cd)) {            \
            bHandled = TRUE;                                                               \
            lResult = func(static_cast<int>(wParam), reinterpret_cast<LPNMHDR>(lParam),    \
                           bHandled);                                                      \
            if (bHandled)                                                                  \
                return TRUE;                                                               \
        }

// Hands the message to another class's map (a base class or a mix-in).
#define CHAIN_MSG_MAP(theChainClass)                                                       \
        if (theChainClass::ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult))      \
            return TRUE;

// Hands the message to a member's map (a part of the window that handles some messages
// itself); what it leaves goes on down this map.
#define CHAIN_MSG_MAP_MEMBER(theChainMember)                                               \
        if ((theChainMember).ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult))    \
            return TRUE;

// Sends a child's notification back to the child as OCM_BASE + message; the child's
// answer is the result. Notifications without a child of this window go on down the map.
#define REFLECT_NOTIFICATIONS()                                                            \
        {                                                                                  \
            bHandled = TRUE;                                                               \
            lResult = ReflectNotification(hWnd, uMsg, wParam, lParam, bHandled);           \
            if (bHandled)                                                                  \
                return TRUE;                                                               \
        }

#define END_MSG_MAP()                                                                      \
        return FALSE;                                                                      \
    }
// clang-format on
