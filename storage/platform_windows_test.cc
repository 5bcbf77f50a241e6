// The Windows side of the platform layer on the real system calls: the read-only attribute that
// GetDBName clears, the active code page and its default character, the debugger output, and
// the DLL's own loading. (The host folder from GetModuleFileNameW and UTF-16 text through records
// are tested by the shared tests, which run here too.)
#ifdef _WIN32
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "qmxdao/storage/CppSQLite3DB.h"
#include "qmxdao/storage/Utility.h"
#include "storage/platform.h"
#include "testing/debug_capture.h"
#include "testing/temp_shop.h"

namespace {

using QMXDAO::DBNAME_MAIN;
using QMXDAO::DBNAME_SALE;
using QMXDAO::Utility;
using qmxdao::test::TempShop;

DWORD attributesOf(const std::filesystem::path& path) {
  return GetFileAttributesW(path.wstring().c_str());
}

TEST(WindowsFiles, ReadOnlyAttributeIsClearedAndTheOthersKept) {
  TempShop shop(TempShop::Layout::kInstalled);
  ASSERT_TRUE(SetFileAttributesW(shop.mainFile().wstring().c_str(),
                                 FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
  Utility::GetDBName(DBNAME_MAIN);
  EXPECT_EQ(attributesOf(shop.mainFile()) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN),
            static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));

  // Every operation goes through GetDBName, so it writes to a file installed read-only.
  ASSERT_TRUE(SetFileAttributesW(shop.saleFile().wstring().c_str(), FILE_ATTRIBUTE_READONLY));
  Utility::execDML(L"create table T (V text)", DBNAME_SALE);
  EXPECT_EQ(Utility::execDML(L"insert into T values ('x')", DBNAME_SALE), 1);
  EXPECT_EQ(attributesOf(shop.saleFile()) & FILE_ATTRIBUTE_READONLY, 0u);

  // A missing file is no error, and nothing is created.
  qmxdao::platform::clearReadOnly(shop.folder().wstring() + L"\\absent.db");
  EXPECT_FALSE(std::filesystem::exists(shop.folder() / "absent.db"));
}

TEST(WindowsFiles, DatabaseUnderANonAsciiWideName) {
  TempShop shop;
  const std::filesystem::path folder = shop.folder() / L"caf\u00e9 \u4e2d";
  ASSERT_TRUE(std::filesystem::create_directory(folder));
  const std::filesystem::path file = folder / L"\u00fcber.db";
  {
    CppSQLite3DB db;
    db.open(file.wstring().c_str(), L"KRD1987");
    db.execDML(L"create table T (V text)");
    db.execDML(L"insert into T values ('x')");
    db.close();
  }
  // The file has exactly that name, and opens again under it.
  EXPECT_TRUE(std::filesystem::exists(file));
  CppSQLite3DB again;
  again.open(file.wstring().c_str(), L"KRD1987");
  EXPECT_EQ(again.execQuery(L"select count(*) from T").getIntField(0), 1);
  again.close();
}

TEST(WindowsText, ActiveCodePageWithItsDefaultCharacter) {
  std::wstring text = L"Tea caf\u00e9 \u4e2d";
  const char* narrow = Utility::get_value_string(text);
  ASSERT_NE(narrow, nullptr);
  switch (GetACP()) {
    case 1252:  // Western: e-acute is one byte, the CJK character has none
      EXPECT_STREQ(narrow, "Tea caf\xe9 ?");
      break;
    case 936:  // Simplified Chinese: e-acute has none, the CJK character two bytes
      EXPECT_STREQ(narrow, "Tea caf? \xd6\xd0");
      break;
    default:
      EXPECT_EQ(std::strncmp(narrow, "Tea caf", 7), 0) << "code page " << GetACP();
  }
  // ASCII keeps its bytes, and a character of no code page becomes the default character; a
  // character beyond the BMP is two UTF-16 units, and each becomes one.
  std::wstring snowman = L"a\u2603b";
  EXPECT_STREQ(Utility::get_value_string(snowman), "a?b");
  std::wstring beyondBmp = L"x\U0001F600y";
  EXPECT_STREQ(Utility::get_value_string(beyondBmp), "x??y");
}

// The system debugger output, read the way a debug monitor reads it: through the shared
// DBWIN_BUFFER and its two events.
class DebugMonitor {
 public:
  DebugMonitor() {
    bufferReady_ = CreateEventW(nullptr, FALSE, TRUE, L"DBWIN_BUFFER_READY");
    dataReady_ = CreateEventW(nullptr, FALSE, FALSE, L"DBWIN_DATA_READY");
    mapping_ =
        CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096, L"DBWIN_BUFFER");
    view_ = mapping_ ? static_cast<const char*>(MapViewOfFile(mapping_, FILE_MAP_READ, 0, 0, 0))
                     : nullptr;
  }
  ~DebugMonitor() {
    if (view_ != nullptr) UnmapViewOfFile(view_);
    for (HANDLE handle : {mapping_, dataReady_, bufferReady_}) {
      if (handle != nullptr) CloseHandle(handle);
    }
  }
  bool ready() const { return view_ != nullptr && bufferReady_ != nullptr && dataReady_; }

  // The next line written, or "(none)" when nothing came within a second.
  std::string next() {
    if (WaitForSingleObject(dataReady_, 1000) != WAIT_OBJECT_0) return "(none)";
    std::string line(view_ + sizeof(DWORD));
    SetEvent(bufferReady_);
    return line;
  }

 private:
  HANDLE bufferReady_ = nullptr;
  HANDLE dataReady_ = nullptr;
  HANDLE mapping_ = nullptr;
  const char* view_ = nullptr;
};

TEST(WindowsDebugOutput, LinesGoToTheDebuggerOrToTheCapture) {
  DebugMonitor monitor;
  ASSERT_TRUE(monitor.ready());
  qmxdao::platform::debugOutput(L"till 3: sale saved\n");
  EXPECT_EQ(monitor.next(), "till 3: sale saved\n");

  {
    qmxdao::test::DebugCapture capture;
    qmxdao::platform::debugOutput(L"captured \u00e9\n");
    EXPECT_EQ(capture.lines(), std::vector<std::wstring>{L"captured \u00e9\n"});
    EXPECT_EQ(monitor.next(), "(none)");
  }
  qmxdao::platform::debugOutput(L"after the capture\n");
  EXPECT_EQ(monitor.next(), "after the capture\n");
}

DWORD WINAPI returnSeven(LPVOID) { return 7; }

TEST(WindowsDll, LoadsByItsNameAndUnloads) {
  const std::filesystem::path dll = QMXDAO_DLL;
  EXPECT_EQ(dll.filename(), "QMXDAOService.dll");
  HMODULE module = LoadLibraryW(dll.wstring().c_str());
  ASSERT_NE(module, nullptr) << "LoadLibrary failed: " << GetLastError();
  // The DLL asked not to be told of threads: one starting and ending while it is loaded is no
  // work for it.
  HANDLE thread = CreateThread(nullptr, 0, returnSeven, nullptr, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  EXPECT_EQ(WaitForSingleObject(thread, 10000), WAIT_OBJECT_0);
  DWORD code = 0;
  EXPECT_TRUE(GetExitCodeThread(thread, &code));
  EXPECT_EQ(code, 7u);
  CloseHandle(thread);
  EXPECT_TRUE(FreeLibrary(module));
}

}  // namespace
#endif
