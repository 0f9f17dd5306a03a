#include "MsgPage.h"

#include "DialogLayout.h"

CMsgPage::CMsgPage()
    : CTextPage(DialogLayout::Question::kTitle, DialogLayout::Question::kMessage) {}
