#pragma once
// A static picture (the window's background, the logo): a render object that takes no
// mouse input and draws its SVG at its own size.
#include "SVGSimpleObject.h"

class CSVGSOCtrl : public CSVGSimpleObject {};
