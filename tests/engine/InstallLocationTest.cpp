// Reading and deleting the product's uninstall entry in the real HKLM.
#include "InstallLocation.h"
#include "ProductSandbox.h"

#include <gtest/gtest.h>

using namespace TestSupport;

namespace {

TEST(InstallLocation, ReadsTheValueAndKeepsTheEntryWhenOnlyLooking) {
    UninstallEntry entry;
    entry.SetLocation(L"C:\\Program Files\\Corvane \u624B\u673A\\");
    EXPECT_EQ(QueryInstallLocation(false), L"C:\\Program Files\\Corvane \u624B\u673A\\");
    EXPECT_TRUE(UninstallEntry::Exists());
}

TEST(InstallLocation, DeletesTheEntryAfterReadingIt) {
    UninstallEntry entry;
    entry.SetLocation(L"C:\\Corvane");
    EXPECT_EQ(QueryInstallLocation(true), L"C:\\Corvane");
    EXPECT_FALSE(UninstallEntry::Exists());
    EXPECT_EQ(QueryInstallLocation(true), L"");
}

TEST(InstallLocation, MissingEntryGivesNothingAndDeletesNothing) {
    UninstallEntry entry; // no product key in the native view
    // A 32-bit installer's entry of the same name is not the product's.
    UninstallEntry otherView(KEY_WOW64_32KEY);
    otherView.SetLocation(L"C:\\Program Files (x86)\\Corvane");
    EXPECT_EQ(QueryInstallLocation(true), L"");
    EXPECT_FALSE(UninstallEntry::Exists());
    EXPECT_TRUE(UninstallEntry::Exists(KEY_WOW64_32KEY));
}

TEST(InstallLocation, EntryWithoutValueGivesNothingButIsStillDeleted) {
    UninstallEntry entry;
    entry.CreateEmpty();
    EXPECT_EQ(QueryInstallLocation(true), L"");
    EXPECT_FALSE(UninstallEntry::Exists());
}

TEST(InstallLocation, ValueLongerThanTheBufferGivesNothing) {
    UninstallEntry entry;
    entry.SetLocation(L"C:\\" + std::wstring(300, L'a'));
    EXPECT_EQ(QueryInstallLocation(true), L"");
    EXPECT_FALSE(UninstallEntry::Exists());
}

TEST(InstallLocation, ValueThatJustFitsIsReadWhole) {
    UninstallEntry entry;
    const std::wstring longest = L"C:\\" + std::wstring(256, L'b'); // 259 units + terminator
    entry.SetLocation(longest);
    EXPECT_EQ(QueryInstallLocation(false), longest);

    // The type is not checked: 260 units without terminator fill the buffer exactly.
    const std::wstring unterminated = L"C:\\" + std::wstring(257, L'c');
    entry.SetRawLocation(REG_BINARY, unterminated.data(), 520);
    EXPECT_EQ(QueryInstallLocation(false), unterminated);
}

TEST(InstallLocation, EntryWithChildKeysIsReadButNotDeleted) {
    UninstallEntry entry;
    entry.SetLocation(L"C:\\Corvane");
    entry.AddChildKey(L"Components");
    EXPECT_EQ(QueryInstallLocation(true), L"C:\\Corvane");
    EXPECT_TRUE(UninstallEntry::Exists());
}

} // namespace
