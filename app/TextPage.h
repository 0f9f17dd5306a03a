#pragma once
// The face of the uninstaller's small dialogs (the question and the progress dialog): a dark
// page on its own swap chain with rounded corners, showing a title (the page's caption) in
// white and a second text below it in white at 0.7 opacity. Subclasses place the two texts
// and may draw more in each frame.
#include "DXGIRenderCtrl.h"

#include <d2d1.h>
#include <dwrite.h>
#include <wrl/client.h>

#include <string>

class CTextPage : public CDXGIRenderCtrl {
  public:
    static constexpr DWORD kPageColour = 0x2F3131; // red 47, green 49, blue 49
    static constexpr int kCornerRadius = 16;       // design units

    // The text under the title, from the next frame on.
    void SetBodyText(std::wstring text) { m_bodyText = std::move(text); }
    const std::wstring& BodyText() const { return m_bodyText; }
    // Where the body text is laid out, in design units relative to the page.
    const RECT& BodyRect() const { return m_bodyRect; }

    // The two text formats, the rounded clip on the visual, then the first frame.
    void CreateResources(const RECT& designRect) override;
    // One frame: the page colour, the title, the body text, then DrawContent.
    void Draw();

  protected:
    // Layout rectangles in design units, relative to the page.
    CTextPage(const RECT& titleRect, const RECT& bodyRect);
    // The rest of a frame, drawn over the texts in pixels.
    virtual void DrawContent(ID2D1RenderTarget* target);

  private:
    RECT m_titleRect;
    RECT m_bodyRect;
    Microsoft::WRL::ComPtr<IDWriteTextFormat> m_titleFormat;
    Microsoft::WRL::ComPtr<IDWriteTextFormat> m_bodyFormat;
    int m_bodySize = 14;
    int m_titleSize = 16;
    std::wstring m_bodyText;
};
