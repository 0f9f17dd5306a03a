#pragma once
// The root of every object a dialog draws with its own visual. Its one operation is a
// hook that every object of this toolkit leaves empty; it stays first in the table of
// virtual operations.
class IRenderObject {
  public:
    virtual void Render() = 0;

  protected:
    // Objects are destroyed through their own class, never through this interface.
    ~IRenderObject() = default;
};
