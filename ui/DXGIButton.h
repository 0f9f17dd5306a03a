#pragma once
// A text button: its caption drawn with DirectWrite on its own swap chain, on the
// background colour, in a colour for each look, with the focus ring when it is shown;
// redrawn (one frame) on every change of state.
#include "DXGIRenderCtrl.h"

#include <dwrite.h>

class CDXGIButton : public CDXGIRenderCtrl {
  public:
    // value: kept for the dialogs that pass one (they pass 1); drawing does not read it.
    explicit CDXGIButton(int value = 1);

    // The caption's text format, then the first frame.
    void CreateResources(const RECT& designRect) override;
    void UpdateState() override;
    // One frame: background, caption in the colour of the current look, focus ring.
    virtual void Draw();

    // The caption's colour for the current state bits.
    D2D1_COLOR_F CaptionColour() const;
    IDWriteTextFormat* TextFormat() const { return m_textFormat.Get(); }
    int Value() const { return m_value; }

  private:
    DWORD m_normalColour = 0x00D766;
    DWORD m_pushedColour = 0x00B255;
    DWORD m_hoverColour = 0x19CC6E;
    int m_value;
    int m_fontSize = 14;
    Microsoft::WRL::ComPtr<IDWriteTextFormat> m_textFormat;
};
