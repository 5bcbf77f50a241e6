// Failing disks: one read, write, sync, truncate or unlink of the db folder's files fails (EIO,
// ENOSPC, a short transfer) in the middle of a write call, at indices sampled over every call of
// that kind the write call makes. After each trial the call has thrown CppSQLite3Exception and the
// file holds exactly what it held before, or it returned true and holds all of it; the file passes
// the integrity check, and the same call made again in the same process succeeds.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "qmxdao/dao/CustomerDAOImpl.h"
#include "qmxdao/dao/ItemDAOImpl.h"
#include "qmxdao/storage/CppSQLite3DB.h"
#include "reliability/child_process.h"
#include "reliability/fault_helpers.h"
#include "storage/platform.h"
#include "storage/text_codec.h"
#include "testing/temp_shop.h"
#include "tools/qmxdb/database_files.h"
#include "tools/qmxdb/schema_text.h"

namespace {

namespace fs = std::filesystem;
using qmxdao::test::customerBatch;
using qmxdao::test::TempShop;

const char kChild[] = "IoFault.DISABLED_Child";

// The write calls under test, by name; the child runs the one its environment names.
std::vector<QMXDataDomain::___CUSTOMER> customersToSave() {
  auto records = customerBatch(1, 150);
  auto updates = customerBatch(0, 50);  // rows 1..50 of the stored batch 0, renamed
  for (std::size_t i = 0; i < updates.size(); ++i) {
    updates[i].ID = static_cast<long long>(i) + 1;
    updates[i].CUSTOMER_NAME = L"renamed " + std::to_wstring(i);
    records.push_back(updates[i]);
  }
  return records;
}

std::vector<QMXDataDomain::___ITEM> items(const std::wstring& prefix, int count) {
  std::vector<QMXDataDomain::___ITEM> records(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    auto& item = records[static_cast<std::size_t>(i)];
    item.ID = 0;
    item.UPC = L"upc-" + std::to_wstring(i);
    item.ORG = L"shop";
    item.ITEM_NAME = prefix + std::to_wstring(i);
    item.PUR_PRICE = 1.5f;
  }
  return records;
}

bool runCall(const std::string& call) {
  if (call == "customers") return QMXDAO::CustomerDAOImpl().save(customersToSave());
  if (call == "items") return QMXDAO::ItemDAOImpl().save(items(L"new name ", 200));
  if (call == "delete") {
    std::vector<long long> ids;
    for (long long id = 20; id < 220; id += 2) ids.push_back(id);
    return QMXDAO::CustomerDAOImpl().delet(ids);
  }
  QMXDAO::Utility::ResetDBKey(L"", L"", QMXDAO::DBNAME_MAIN);
  return true;
}

// "true", "false" or "threw <code>"; any other exception escapes.
std::string outcomeOf(const std::string& call) {
  try {
    return runCall(call) ? "true" : "false";
  } catch (const CppSQLite3Exception& e) {
    return "threw " + std::to_string(e.errorCode());
  }
}

// The main file's rows without their time stamps, and whether it is keyed or plain.
std::string dumpMainFile(const fs::path& file) {
  std::ostringstream dump;
  for (const wchar_t* key : {L"KRD1987", L""}) {
    try {
      CppSQLite3DB db;
      db.open(file.wstring().c_str(), key);
      dump << (*key != L'\0' ? "keyed" : "plain");
      for (const wchar_t* table : {L"CUSTOMER", L"ITEM"}) {
        std::wstring sql = std::wstring(L"SELECT * FROM ") + table + L" ORDER BY ID";
        CppSQLite3Query query = db.execQuery(sql.c_str());
        for (; !query.eof(); query.nextRow()) {
          dump << "\n";
          for (int field = 0; field < query.numFields(); ++field) {
            if (std::wstring(query.fieldName(field)).find(L"TIME") != std::wstring::npos) continue;
            const wchar_t* value = query.fieldValue(field);
            dump << qmxdao::toUtf8(value != nullptr ? value : L"") << "|";
          }
        }
      }
      std::wstring check;
      for (CppSQLite3Query query = db.execQuery(L"PRAGMA integrity_check"); !query.eof();
           query.nextRow()) {
        check += query.fieldValue(0);
      }
      dump << "\nintegrity " << qmxdao::toUtf8(check);
      return dump.str();
    } catch (const CppSQLite3Exception& e) {
      if (e.errorCode() != 26) return "unreadable " + std::to_string(e.errorCode());
      dump.str("");
    }
  }
  return "unreadable";
}

// An installation with 300 customers and 100 items; for re-keying, a plain main file.
void install(const TempShop& shop, bool plainMainFile) {
  fs::create_directory(shop.dbFolder());
  std::wstring key = plainMainFile ? L"" : L"KRD1987";
  qmxdb::createDatabaseFile(shop.mainFile().wstring(), qmxdb::mainSchemaSql(), key);
  CppSQLite3DB db;
  db.open(shop.mainFile().wstring().c_str(), key.c_str());
  db.execDML(
      L"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 300) "
      L"INSERT INTO CUSTOMER (ID, ORG, EXT1, CUSTOMER_NAME) "
      L"SELECT i, 'org-0', '0', 'customer ' || i FROM n;");
  db.execDML(
      L"WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 99) "
      L"INSERT INTO ITEM (UPC, ORG, ITEM_NAME) SELECT 'upc-' || (i * 2), 'shop', 'item' FROM n;");
  db.close();
}

struct Fault {
  const char* op;
  const char* error;
  long most;  // sampled indices at most
};

// Every failed read is swept (a lookup's read error is where the batch save tolerates failures);
// the others are sampled.
const Fault kFaults[] = {{"read", "EIO", 30},    {"read", "short", 5},   {"write", "EIO", 5},
                         {"write", "ENOSPC", 5}, {"write", "short", 5},  {"sync", "EIO", 5},
                         {"sync", "ENOSPC", 5},  {"truncate", "EIO", 5}, {"unlink", "EIO", 5}};

int kindIndex(const std::string& op) {
  const char* kinds[] = {"read", "write", "sync", "truncate", "unlink"};
  for (int i = 0; i < 5; ++i) {
    if (op == kinds[i]) return i;
  }
  return -1;
}

// Indices 1..count, all of them when few, else the first, the last and evenly spaced ones.
std::vector<long> sample(long count, long most) {
  std::vector<long> indices;
  for (long i = 0; i < std::min(count, most); ++i) {
    indices.push_back(count <= most ? i + 1 : 1 + i * (count - 1) / (most - 1));
  }
  return indices;
}

// Runs call once in a child for every sampled fault and checks each trial.
void sweep(const std::string& call) {
  TempShop shop(TempShop::Layout::kNoDbFolder);
  install(shop, call == "resetkey");
  const fs::path pristine = shop.folder() / "pristine";
  fs::copy(shop.dbFolder(), pristine);
  const std::string before = dumpMainFile(shop.mainFile());
  ASSERT_TRUE(runCall(call));
  const std::string after = dumpMainFile(shop.mainFile());
  ASSERT_NE(before, after);
  ASSERT_NE(after.find("integrity ok"), std::string::npos) << after;

  auto stateName = [&](const std::string& dump) -> std::string {
    return dump == before ? "before" : dump == after ? "after" : dump.substr(0, 40) + "...";
  };
  auto trial = [&](const Fault& fault, long at) {
    fs::remove_all(shop.dbFolder());
    fs::remove_all(shop.folder() / "after-call");
    fs::copy(pristine, shop.dbFolder());
    qmxdao::test::Environment settings = {
        {"QMXDAO_CHILD_CALL", call},
        {"QMXDAO_CHILD_HOST", shop.folder().string()},
        {"QMXDAO_SHIM_DIR", shop.dbFolder().string() + "/"},
        {"QMXDAO_SHIM_COUNTS", (shop.folder() / "counts").string()},
        {"QMXDAO_FAULT_OP", fault.op},
        {"QMXDAO_FAULT_AT", std::to_string(at)},
        {"QMXDAO_FAULT_ERROR", fault.error}};
    return qmxdao::test::runChild(kChild, settings);
  };
  // Counts of the call's file operations, from a trial without a fault.
  ASSERT_EQ(trial(kFaults[0], 0), 0);
  std::array<long, 5> counts{};
  std::istringstream(qmxdao::test::readText(shop.folder() / "counts")) >> counts[0] >> counts[1] >>
      counts[2] >> counts[3] >> counts[4];
  ASSERT_GT(counts[1], 0);
  ASSERT_GT(counts[2], 0);

  int trials = 0;
  int threw = 0;
  std::map<std::string, std::set<std::string>> outcomes;  // by fault
  for (const Fault& fault : kFaults) {
    for (long at : sample(counts[static_cast<std::size_t>(kindIndex(fault.op))], fault.most)) {
      SCOPED_TRACE(call + ": " + fault.op + " " + fault.error + " at " + std::to_string(at));
      ASSERT_EQ(trial(fault, at), 0);
      std::istringstream outcome(qmxdao::test::readText(shop.folder() / "outcome"));
      std::string first;
      std::string again;
      std::getline(outcome, first);
      std::getline(outcome, again);
      ++trials;
      outcomes[std::string(fault.op) + " " + fault.error].insert(first);
      // The last sync of a commit is the folder's, after the journal's deletion made the commit:
      // when it fails the call throws with the records stored, as they may not survive a power
      // cut.
      const bool lastSync = std::string(fault.op) == "sync" && at == counts[2];
      const std::string state = stateName(dumpMainFile(shop.folder() / "after-call" / "QMX.db"));
      if (first.rfind("threw", 0) == 0) {
        ++threw;
        // The engine's own code of an I/O failure; a failed page read inside a lookup the engine
        // reports as "SQL logic error" (1), and the connection then fails every statement.
        EXPECT_TRUE(first == "threw 10" || first == "threw 11" || first == "threw 13" ||
                    first == "threw 26" || (first == "threw 1" && fault.op == std::string("read")))
            << first;
        EXPECT_TRUE(state == "before" || (lastSync && state == "after")) << first << ": " << state;
      } else {
        EXPECT_EQ(first, "true");
        EXPECT_EQ(state, "after");
      }
      // Made again, the call succeeds; after one that stored nothing it stores all of it.
      EXPECT_EQ(again, "true");
      if (state == "before") {
        EXPECT_EQ(stateName(dumpMainFile(shop.mainFile())), "after");
      }
    }
  }
  std::cout << call << ": " << trials << " faults, " << threw << " calls threw; operations read "
            << counts[0] << ", write " << counts[1] << ", sync " << counts[2] << ", truncate "
            << counts[3] << ", unlink " << counts[4] << "\n";
  for (const auto& [name, seen] : outcomes) {
    std::cout << "  " << name << ":";
    for (const std::string& outcome : seen) std::cout << " [" << outcome << "]";
    std::cout << "\n";
  }
}

// The child: the call under the fault, a copy of the folder as the call left it, then the same
// call again without a fault.
TEST(IoFault, DISABLED_Child) {
  const char* call = std::getenv("QMXDAO_CHILD_CALL");
  const char* host = std::getenv("QMXDAO_CHILD_HOST");
  ASSERT_NE(call, nullptr);
  ASSERT_NE(host, nullptr);
  qmxdao::platform::setHostFolderForTesting(fs::path(host).wstring() + L"/");
  std::string first = outcomeOf(call);
  auto disarm = reinterpret_cast<void (*)()>(dlsym(RTLD_DEFAULT, "qmxdao_shim_disarm"));
  ASSERT_NE(disarm, nullptr);
  disarm();
  fs::copy(fs::path(host) / "db", fs::path(host) / "after-call");
  std::string again = outcomeOf(call);
  qmxdao::test::writeText(fs::path(host) / "outcome", first + "\n" + again + "\n");
}

TEST(IoFault, BatchSaveOfCustomersStoresAllOrNothing) { sweep("customers"); }
TEST(IoFault, BatchSaveOfItemsStoresAllOrNothing) { sweep("items"); }
TEST(IoFault, DeleteStoresAllOrNothing) { sweep("delete"); }
TEST(IoFault, ResetDBKeyKeysTheWholeFileOrLeavesItPlain) { sweep("resetkey"); }

}  // namespace
