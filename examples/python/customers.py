"""Saves two customers and reads them back through the library's C boundary, from Python.

    python3 customers.py PATH-TO-libQMXDAOService.so

The library works on db/QMX.db beside the running program's executable (here the Python
interpreter), which "qmxdb init" creates. Exits 0 when every check passes."""
import ctypes
import sys

QMXDAO_CUSTOMER, QMXDAO_SAVE = 0, 2
MEMBER_INT64, MEMBER_INT32, MEMBER_FLOAT, MEMBER_TEXT = 0, 1, 2, 3


class Value(ctypes.Structure):
    _fields_ = [("integer", ctypes.c_int64), ("real", ctypes.c_double),
                ("text", ctypes.c_void_p), ("length", ctypes.c_size_t)]


RecordSink = ctypes.CFUNCTYPE(ctypes.c_int32, ctypes.c_void_p, ctypes.POINTER(Value))

lib = ctypes.CDLL(sys.argv[1])
lib.qmxdao_last_error.argtypes = [ctypes.POINTER(ctypes.c_wchar_p), ctypes.POINTER(ctypes.c_size_t)]
lib.qmxdao_record_column.argtypes = [ctypes.c_int32, ctypes.c_int32,
                                     ctypes.POINTER(ctypes.c_wchar_p),
                                     ctypes.POINTER(ctypes.c_int32),
                                     ctypes.POINTER(ctypes.c_int32)]
lib.qmxdao_dao_write.argtypes = [ctypes.c_int32, ctypes.c_int32, ctypes.POINTER(Value),
                                 ctypes.c_size_t, ctypes.POINTER(ctypes.c_int32)]
lib.qmxdao_dao_find_by_id.argtypes = [ctypes.c_int32, ctypes.c_int64, RecordSink, ctypes.c_void_p]
lib.qmxdao_dao_count.argtypes = [ctypes.c_int32, ctypes.c_int32, ctypes.POINTER(ctypes.c_int64)]


def check(status):
    if status != 0:
        message, length = ctypes.c_wchar_p(), ctypes.c_size_t()
        lib.qmxdao_last_error(ctypes.byref(message), ctypes.byref(length))
        sys.exit(f"status {status}: {message.value}")


# The customer's columns: name -> (position, member kind).
count = ctypes.c_int32()
check(lib.qmxdao_record_shape(QMXDAO_CUSTOMER, ctypes.byref(count), None))
columns = {}
for i in range(count.value):
    name, code, member = ctypes.c_wchar_p(), ctypes.c_int32(), ctypes.c_int32()
    check(lib.qmxdao_record_column(QMXDAO_CUSTOMER, i, ctypes.byref(name), ctypes.byref(code),
                                   ctypes.byref(member)))
    columns[name.value] = (i, member.value)

check(lib.qmxdao_check_version(1))
check(lib.qmxdao_init_db())
customers = [{"ID": 1, "ORG": "shop-1", "CUSTOMER_NAME": "Li Lei"},
             {"ID": 2, "ORG": "shop-1", "CUSTOMER_NAME": "Hán Méiméi"}]
values = (Value * (len(columns) * len(customers)))()
keep = []  # the text buffers live until the call returns
for n, customer in enumerate(customers):
    for name, value in customer.items():
        slot = values[n * len(columns) + columns[name][0]]
        if columns[name][1] == MEMBER_TEXT:
            buffer = ctypes.create_unicode_buffer(value)
            keep.append(buffer)
            slot.text, slot.length = ctypes.addressof(buffer), len(value)
        else:
            slot.integer = value
done = ctypes.c_int32()
check(lib.qmxdao_dao_write(QMXDAO_CUSTOMER, QMXDAO_SAVE, values, len(customers),
                           ctypes.byref(done)))

found = []


@RecordSink
def take(context, record):
    name = record[columns["CUSTOMER_NAME"][0]]
    found.append(ctypes.wstring_at(name.text, name.length) if name.length else "")
    return 0


for customer in customers + [{"ID": 99, "CUSTOMER_NAME": ""}]:
    check(lib.qmxdao_dao_find_by_id(QMXDAO_CUSTOMER, customer["ID"], take, None))
rows = ctypes.c_int64()
check(lib.qmxdao_dao_count(QMXDAO_CUSTOMER, 1, ctypes.byref(rows)))
check(lib.qmxdao_quit_db())

expected = [c["CUSTOMER_NAME"] for c in customers] + [""]
print(f"saved {len(customers)} customers through the C boundary; read back {found}; "
      f"{rows.value} stored")
sys.exit(0 if found == expected and rows.value == len(customers) else 1)
