#include "ScreenReader.h"

#include <cstdio>
#include <mutex>

namespace ScreenReader {
namespace {

std::wstring TakeString(BSTR text) {
    std::wstring copy = text ? std::wstring(text, SysStringLen(text)) : std::wstring();
    SysFreeString(text);
    return copy;
}

void Keep(HRESULT result, HRESULT* status) {
    if (FAILED(result) && SUCCEEDED(*status))
        *status = result;
}

} // namespace

VARIANT Child(LONG id) {
    VARIANT child;
    VariantInit(&child);
    child.vt = VT_I4;
    child.lVal = id;
    return child;
}

Node ReadNode(IAccessible* object, LONG id, HRESULT* status) {
    Node node;
    node.id = id;
    const VARIANT child = Child(id);
    BSTR text = nullptr;
    Keep(object->get_accName(child, &text), status);
    node.name = TakeString(text);
    text = nullptr;
    Keep(object->get_accValue(child, &text), status);
    node.value = TakeString(text);
    text = nullptr;
    Keep(object->get_accDefaultAction(child, &text), status);
    node.defaultAction = TakeString(text);
    VARIANT answer;
    VariantInit(&answer);
    Keep(object->get_accRole(child, &answer), status);
    node.role = answer.vt == VT_I4 ? answer.lVal : 0;
    VariantClear(&answer);
    Keep(object->get_accState(child, &answer), status);
    node.state = answer.vt == VT_I4 ? answer.lVal : 0;
    VariantClear(&answer);
    long left = 0, top = 0, width = 0, height = 0;
    Keep(object->accLocation(&left, &top, &width, &height, child), status);
    node.location = {left, top, left + width, top + height};
    return node;
}

Tree Read(HWND window) {
    Tree tree;
    tree.status =
        AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                   reinterpret_cast<void**>(tree.object.GetAddressOf()));
    if (FAILED(tree.status) || !tree.object)
        return tree;
    tree.dialog = ReadNode(tree.object.Get(), CHILDID_SELF, &tree.status);
    long count = 0;
    Keep(tree.object->get_accChildCount(&count), &tree.status);
    std::vector<VARIANT> children(count > 0 ? count : 0);
    long obtained = 0;
    if (count > 0)
        Keep(AccessibleChildren(tree.object.Get(), 0, count, children.data(), &obtained),
             &tree.status);
    for (long i = 0; i < obtained; ++i) {
        if (children[i].vt == VT_I4)
            tree.children.push_back(ReadNode(tree.object.Get(), children[i].lVal, &tree.status));
        else if (SUCCEEDED(tree.status))
            tree.status = E_UNEXPECTED; // this dialog's children are all simple elements
        VariantClear(&children[i]);
    }
    return tree;
}

const Node* Find(const Tree& tree, const std::wstring& name) {
    for (const Node& node : tree.children) {
        if (node.name == name)
            return &node;
    }
    return nullptr;
}

std::string RoleText(LONG role) {
    wchar_t text[128] = {};
    GetRoleTextW(static_cast<DWORD>(role), text, 128);
    return Utf8(text);
}

std::string StateText(LONG state) {
    std::string text;
    for (DWORD bit = 1; bit != 0 && bit <= static_cast<DWORD>(STATE_SYSTEM_VALID); bit <<= 1) {
        if (!(static_cast<DWORD>(state) & bit))
            continue;
        wchar_t name[128] = {};
        GetStateTextW(bit, name, 128);
        text += (text.empty() ? "" : ", ") + Utf8(name);
    }
    return text.empty() ? "normal" : text;
}

std::string Print(const Tree& tree) {
    const RECT& origin = tree.dialog.location;
    const auto line = [&](const Node& node, const char* indent) {
        char where[96];
        const RECT& r = node.location;
        std::snprintf(where, sizeof where, "%ld,%ld %ldx%ld", r.left - origin.left,
                      r.top - origin.top, r.right - r.left, r.bottom - r.top);
        std::string text = std::string(indent) + RoleText(node.role) + " \"" + Utf8(node.name) +
                           "\" [" + StateText(node.state) + "] at " + where;
        if (!node.value.empty())
            text += " value \"" + Utf8(node.value) + "\"";
        if (!node.defaultAction.empty())
            text += " action \"" + Utf8(node.defaultAction) + "\"";
        return text + "\n";
    };
    std::string text = line(tree.dialog, "");
    for (const Node& child : tree.children)
        text += line(child, "  ");
    return text;
}

namespace {

std::mutex g_eventsLock;
std::vector<EventLog::Event> g_events;
DWORD g_followed = 0;
DWORD g_followedThread = 0;

} // namespace

EventLog::EventLog() {
    Clear();
    hook_ = SetWinEventHook(EVENT_MIN, EVENT_MAX, nullptr, Hook, 0, 0,
                            WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
}

EventLog::~EventLog() {
    if (hook_)
        UnhookWinEvent(hook_);
}

void CALLBACK EventLog::Hook(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child,
                             DWORD thread, DWORD) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    std::lock_guard<std::mutex> lock(g_eventsLock);
    if ((g_followed && process == g_followed) || (g_followedThread && thread == g_followedThread))
        g_events.push_back({event, window, object, child});
}

std::vector<EventLog::Event> EventLog::Events() const {
    std::lock_guard<std::mutex> lock(g_eventsLock);
    return g_events;
}

std::vector<EventLog::Event> EventLog::Of(DWORD event) const {
    std::vector<Event> matching;
    for (const Event& e : Events()) {
        if (e.event == event)
            matching.push_back(e);
    }
    return matching;
}

void EventLog::Follow(DWORD processId, DWORD uiThreadId) {
    std::lock_guard<std::mutex> lock(g_eventsLock);
    g_followed = processId;
    g_followedThread = uiThreadId;
}

void EventLog::Clear() {
    std::lock_guard<std::mutex> lock(g_eventsLock);
    g_events.clear();
}

} // namespace ScreenReader
