#pragma once
#include <string>

// Widens a narrow string with the calling thread's ANSI code page.
std::wstring WidenWithThreadCodePage(const char* text);
