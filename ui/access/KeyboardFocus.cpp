#include "KeyboardFocus.h"

#include "FocusRing.h"

#include "ui/SVGSimpleObject.h"

void CKeyboardFocus::SetObjects(std::vector<CSVGSimpleObject*> objects) {
    Clear();
    m_objects = std::move(objects);
    m_place = 0;
    for (CSVGSimpleObject* object : m_objects)
        object->SetFocusRingPainter(&FocusRingPainter());
}

int CKeyboardFocus::IndexOf(const CSVGSimpleObject* object) const {
    for (size_t i = 0; i < m_objects.size(); ++i) {
        if (m_objects[i] == object)
            return static_cast<int>(i);
    }
    return -1;
}

CSVGSimpleObject* CKeyboardFocus::Focused() const {
    const int count = static_cast<int>(m_objects.size());
    for (int step = 0; step < count; ++step) {
        CSVGSimpleObject* object = m_objects[(m_place + step) % count];
        if (object->Pressable())
            return object;
    }
    return nullptr;
}

bool CKeyboardFocus::SetFocused(const CSVGSimpleObject* object) {
    const int index = IndexOf(object);
    if (index < 0 || !object->Pressable())
        return false;
    m_place = index;
    return true;
}

bool CKeyboardFocus::Move(bool forward) {
    const CSVGSimpleObject* focused = Focused();
    if (!focused)
        return false;
    const int count = static_cast<int>(m_objects.size());
    const int from = IndexOf(focused);
    for (int step = 1; step < count; ++step) {
        const int index = (from + (forward ? step : count - step)) % count;
        if (m_objects[index]->Pressable()) {
            m_place = index;
            return true;
        }
    }
    return false;
}

bool CKeyboardFocus::Press() {
    CSVGSimpleObject* focused = Focused();
    if (!focused || m_pressed)
        return false;
    m_pressed = focused;
    m_pressed->KeyPress();
    return true;
}

bool CKeyboardFocus::Release() {
    if (!m_pressed)
        return false;
    CSVGSimpleObject* pressed = m_pressed;
    m_pressed = nullptr;
    pressed->KeyRelease(pressed == Focused());
    return true;
}

bool CKeyboardFocus::Cancel() {
    if (!m_pressed)
        return false;
    CSVGSimpleObject* pressed = m_pressed;
    m_pressed = nullptr;
    pressed->KeyRelease(false);
    return true;
}

bool CKeyboardFocus::UpdateRing() {
    CSVGSimpleObject* ringOn = m_cuesShown && m_windowFocused ? Focused() : nullptr;
    if (ringOn == m_ringOn)
        return false;
    if (m_ringOn)
        m_ringOn->ShowFocusRing(false);
    m_ringOn = ringOn;
    if (m_ringOn)
        m_ringOn->ShowFocusRing(true);
    return true;
}

void CKeyboardFocus::Clear() {
    Cancel();
    if (m_ringOn)
        m_ringOn->ShowFocusRing(false);
    m_ringOn = nullptr;
}
