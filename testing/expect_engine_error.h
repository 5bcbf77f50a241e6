// Checks that a call fails the way the engine reports failures: a CppSQLite3Exception with the
// engine's result code and a message containing the engine's text.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "qmxdao/storage/CppSQLite3Exception.h"

namespace qmxdao::test {

template <typename Call>
void expectEngineError(Call call, int code, const std::wstring& messagePart) {
  try {
    call();
    ADD_FAILURE() << "no CppSQLite3Exception";
  } catch (const CppSQLite3Exception& e) {
    EXPECT_EQ(e.errorCode(), code) << e.what();
    EXPECT_NE(std::wstring(e.errorMessage()).find(messagePart), std::wstring::npos) << e.what();
  }
}

}  // namespace qmxdao::test
