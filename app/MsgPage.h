#pragma once
// The face of the question dialog: its title and, below it, the question.
#include "TextPage.h"

#include <string>

class CMsgPage : public CTextPage {
  public:
    CMsgPage();

    void SetMessage(std::wstring message) { SetBodyText(std::move(message)); }
    const std::wstring& Message() const { return BodyText(); }
};
