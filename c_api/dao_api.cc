// The data-access classes over the C boundary. A batch is checked whole (every text, every
// number) before the class is called, so a bad record never leaves a batch half-written.
#include "c_api/record_kinds.h"
#include "dao/record_daos.h"

using namespace qmxdao::capi;

extern "C" {

QMXDAO_API(qmxdao_status)
qmxdao_dao_write(int32_t kind, int32_t operation, const qmxdao_value* records, size_t count,
                 int32_t* done) {
  return guarded([&] {
    withKind(kind, [&](auto k) {
      using Dao = typename decltype(k)::Dao;
      auto batch = toRecords(k.table, records, count);
      Dao dao;
      bool written = false;
      switch (operation) {
        case QMXDAO_ADD:
          written = dao.add(std::move(batch));
          break;
        case QMXDAO_UPDATE:
          written = dao.update(std::move(batch));
          break;
        case QMXDAO_SAVE:
          written = dao.save(std::move(batch));
          break;
        case QMXDAO_MODIFY:
          if constexpr (std::is_same_v<Dao, QMXDAO::ItemDAOImpl>) {
            written = dao.modify(std::move(batch));
            break;
          }
          [[fallthrough]];
        default:
          throw Refused(L"this record has no write operation " + std::to_wstring(operation));
      }
      if (done != nullptr) *done = written ? 1 : 0;
    });
  });
}

QMXDAO_API(qmxdao_status)
qmxdao_dao_delete(int32_t kind, const int64_t* ids, size_t count, int32_t* done) {
  return guarded([&] {
    if (ids == nullptr && count != 0) throw Refused(L"the IDs are the null pointer");
    std::vector<long long> list(ids, ids + count);
    withKind(kind, [&](auto k) {
      typename decltype(k)::Dao dao;
      bool deleted = dao.delet(std::move(list));
      if (done != nullptr) *done = deleted ? 1 : 0;
    });
  });
}

QMXDAO_API(qmxdao_status) qmxdao_dao_count(int32_t kind, int32_t keyed, int64_t* count) {
  return guarded([&] {
    out(count, L"the answer's place");
    withKind(kind, [&](auto k) {
      using Dao = typename decltype(k)::Dao;
      Dao dao;
      if (keyed != 0) {
        *count = dao.count();
        return;
      }
      if constexpr (std::is_same_v<Dao, QMXDAO::CustomerDAOImpl>) {
        *count = dao.countNoKey();
        return;
      }
      throw Refused(L"only customers are counted on a plain file");
    });
  });
}

QMXDAO_API(qmxdao_status)
qmxdao_dao_find_by_id(int32_t kind, int64_t id, qmxdao_record_sink sink, void* context) {
  return guarded([&] {
    needSink(reinterpret_cast<const void*>(sink));
    withKind(kind, [&](auto k) {
      typename decltype(k)::Dao dao;
      emitRecord(k.table, dao.findById(id), sink, context);
    });
  });
}

QMXDAO_API(qmxdao_status)
qmxdao_dao_find_by_sql(int32_t kind, int32_t keyed, const wchar_t* sql, size_t length,
                       qmxdao_record_sink sink, void* context) {
  return guarded([&] {
    needSink(reinterpret_cast<const void*>(sink));
    std::wstring statement = text(sql, length, L"the SQL");
    withKind(kind, [&](auto k) {
      using Record = typename decltype(k)::Record;
      if (keyed == 0 && !std::is_same_v<Record, QMXDataDomain::___CUSTOMER>) {
        throw Refused(L"only customers are read from a plain file");
      }
      // Each row goes to the sink as it is read (what the class's findBySQL or, unkeyed, the
      // customer's findBySQLNoKey would return, without keeping them all first).
      RecordEmitter<Record> emit(k.table, sink, context);
      qmxdao::recordDao(static_cast<const Record*>(nullptr))
          .eachBySQL(statement, keyed != 0 ? qmxdao::kDatabaseKey : L"", emit);
    });
  });
}

}  // extern "C"
