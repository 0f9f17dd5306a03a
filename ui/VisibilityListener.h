#pragma once
// Told when a render object is shown or hidden, so that what assistive technology knows of a
// dialog follows what the dialog shows.
class CSVGSimpleObject;

class IVisibilityListener {
  public:
    // The object's visible flag has just changed (CSVGSimpleObject::IsVisible).
    virtual void OnVisibilityChanged(CSVGSimpleObject* object) = 0;

  protected:
    ~IVisibilityListener() = default;
};
