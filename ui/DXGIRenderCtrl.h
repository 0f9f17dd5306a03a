#pragma once
// A render object whose picture is a swap chain drawn with Direct2D instead of an SVG:
// the base of the text button and of the dialog pages. A page can be redrawn many times
// a second (also from a second thread) without touching the visual tree or committing.
//
// Every frame follows one sequence: BeginFrame gives a target (null when the object has
// no swap chain), the subclass clears and draws in pixels relative to its own top-left
// corner, and EndFrame ends the drawing and presents (also when there was no target).
#include "SVGSimpleObject.h"

#include <d2d1.h>
#include <d2d1_1.h>
#include <wrl/client.h>

class CDXGIRenderCtrl : public CSVGSimpleObject {
  public:
    CDXGIRenderCtrl() = default;
    ~CDXGIRenderCtrl() override;

    // A swap chain at the pixel size of the rectangle, shown by the visual, drawn with the
    // host's Direct2D factory.
    void CreateContent() override;
    void CreateResources(const RECT& designRect) override;
    // A swap chain at the pixel size of the design rectangle scaled again, if that differs.
    void Rescale() override;
    // Moving and resizing in pixels keeps the swap chain as it is.
    void SetRect(RECT* rect) override;
    virtual HRESULT Present();

    int SwapChainWidth() const { return m_width; }
    int SwapChainHeight() const { return m_height; }
    bool HasSwapChain() const { return m_swapChain != nullptr; }
    // What the visual shows; null when it could not be made.
    const std::shared_ptr<Composition::SwapChain>& SwapChain() const { return m_swapChain; }

  protected:
    ID2D1RenderTarget* BeginFrame();
    void EndFrame();

    int m_width = 400;
    int m_height = 300;
    std::shared_ptr<Composition::SwapChain> m_swapChain;
    Microsoft::WRL::ComPtr<ID2D1Factory> m_d2dFactory;
    Microsoft::WRL::ComPtr<ID2D1RenderTarget> m_renderTarget;
    // The host's Direct2D lock (DirectComposition only), and the one the frame under way holds.
    Microsoft::WRL::ComPtr<ID2D1Multithread> m_multithread;
    Microsoft::WRL::ComPtr<ID2D1Multithread> m_frameLock;
};
