// Whole-file reads and writes, for tests that plant a file and check that the library left it
// byte for byte as it was.
#pragma once

#include <filesystem>
#include <string>

namespace qmxdao::test {

std::string readFileBytes(const std::filesystem::path& path);
void writeFileBytes(const std::filesystem::path& path, const std::string& bytes);

}  // namespace qmxdao::test
