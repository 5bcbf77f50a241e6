// The engine's check of every page's HMAC in a keyed file, made on a connection of its own that
// reads neither the schema nor any row: a file whose schema pages are damaged, which no ordinary
// connection opens, is still checked page by page. Internal to the library's objects (the qmxdb
// tool links them); not exported.
#pragma once

#include <string>
#include <vector>

namespace qmxdao {

struct PageHmacCheck {
  std::string engineVersion;          // "4.14.0 community"
  bool available = false;             // engines before SQLCipher 4 cannot check the HMACs apart
  std::vector<std::string> failures;  // the engine's line per failing page; empty when sound
};

// Throws CppSQLite3Exception when the file cannot be opened at all.
PageHmacCheck checkPageHmacs(const std::wstring& path, const std::wstring& key);

}  // namespace qmxdao
