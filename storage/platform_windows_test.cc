// The Windows side of the platform layer on the real system calls: the read-only attribute that
// GetDBName clears, a database under a non-ASCII wide name, the active code page and its default
// character, the debugger output, and the DLL's own loading.
#ifdef _WIN32
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>

#include "qmxdao/storage/CppSQLite3DB.h"
#include "qmxdao/storage/Utility.h"
#include "storage/platform.h"
#include "testing/temp_shop.h"

namespace {

using QMXDAO::Utility;

TEST(WindowsFiles, ReadOnlyAttributeIsClearedAndWideNamesKept) {
  qmxdao::test::TempShop shop(qmxdao::test::TempShop::Layout::kInstalled);
  const DWORD readOnlyHidden = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
  ASSERT_TRUE(SetFileAttributesW(shop.mainFile().c_str(), readOnlyHidden));
  Utility::GetDBName(QMXDAO::DBNAME_MAIN);
  EXPECT_EQ(GetFileAttributesW(shop.mainFile().c_str()) & readOnlyHidden,
            static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
  // Every operation goes through GetDBName, so it writes to a file installed read-only.
  ASSERT_TRUE(SetFileAttributesW(shop.saleFile().c_str(), FILE_ATTRIBUTE_READONLY));
  Utility::execDML(L"create table T (V text)", QMXDAO::DBNAME_SALE);
  EXPECT_EQ(GetFileAttributesW(shop.saleFile().c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
  // A database under a non-ASCII wide name gets exactly that name.
  const std::filesystem::path file = shop.folder() / L"caf\u00e9 \u4e2d" / L"\u00fcber.db";
  ASSERT_TRUE(std::filesystem::create_directory(file.parent_path()));
  CppSQLite3DB db;
  db.open(file.c_str(), L"KRD1987");
  db.execDML(L"create table T (V text)");
  EXPECT_TRUE(std::filesystem::exists(file));
}

TEST(WindowsText, ActiveCodePageWithItsDefaultCharacter) {
  // No code page has the snowman; a character beyond the BMP is two UTF-16 units, two defaults.
  std::wstring text = L"Tea caf\u00e9 \u4e2d \u2603\U0001F600";
  if (GetACP() == 1252) {  // Western: e-acute is one byte, the CJK character has none
    EXPECT_STREQ(Utility::get_value_string(text), "Tea caf\xe9 ? ???");
  } else if (GetACP() == 936) {  // Simplified Chinese: the other way round
    EXPECT_STREQ(Utility::get_value_string(text), "Tea caf? \xd6\xd0 ???");
  }
}

TEST(WindowsDebugOutput, LinesGoToTheDebugger) {
  // Read back the way a debug monitor reads it: the shared DBWIN_BUFFER and its two events.
  HANDLE bufferReady = CreateEventW(nullptr, FALSE, TRUE, L"DBWIN_BUFFER_READY");
  HANDLE dataReady = CreateEventW(nullptr, FALSE, FALSE, L"DBWIN_DATA_READY");
  HANDLE mapping =
      CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096, L"DBWIN_BUFFER");
  const char* view = static_cast<const char*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0));
  ASSERT_TRUE(bufferReady != nullptr && dataReady != nullptr && view != nullptr);
  qmxdao::platform::debugOutput(L"till 3: sale saved\n");
  ASSERT_EQ(WaitForSingleObject(dataReady, 1000), WAIT_OBJECT_0) << "nothing came within 1 s";
  EXPECT_STREQ(view + sizeof(DWORD), "till 3: sale saved\n");
  UnmapViewOfFile(view);
  for (HANDLE handle : {mapping, dataReady, bufferReady}) CloseHandle(handle);
}

TEST(WindowsDll, LoadsAndUnloads) {
  HMODULE module = LoadLibraryW(std::filesystem::path(QMXDAO_DLL).c_str());
  ASSERT_NE(module, nullptr) << "LoadLibrary failed: " << GetLastError();
  EXPECT_TRUE(FreeLibrary(module));
}

}  // namespace
#endif
