#include "https_server_win.hpp"

#include <windows.h>

#include <fstream>

#include "harness_win.hpp"

namespace vessa::test {

namespace fs = std::filesystem;

ScriptedHttpsServer::ScriptedHttpsServer() : folder_(windows_path_from_env("VESSA_HTTPS_SERVER")) {}

void ScriptedHttpsServer::write(std::string_view service, const std::string& text) const {
  if (!available()) return;
  const fs::path target = folder_ / fs::path(std::string(service));
  const fs::path part = folder_ / fs::path(std::string(service) + ".part");
  {
    std::ofstream file(part, std::ios::binary | std::ios::trunc);
    file << text;
  }
  MoveFileExW(part.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING);
}

void ScriptedHttpsServer::answer(std::string_view service, int status, const std::string& body) const {
  write(service, std::to_string(status) + "\n" + body);
}

void ScriptedHttpsServer::hang(std::string_view service) const { write(service, "hang\n"); }

void ScriptedHttpsServer::reset(std::string_view service) const {
  if (!available()) return;
  std::error_code ignored;
  fs::remove(folder_ / fs::path(std::string(service)), ignored);
}

std::vector<std::string> ScriptedHttpsServer::requests(std::string_view prefix) const {
  std::vector<std::string> found;
  if (!available()) return found;
  std::ifstream log(folder_ / L"requests.log", std::ios::binary);
  for (std::string line; std::getline(log, line);) {
    if (line.rfind(prefix, 0) == 0) found.push_back(line);
  }
  return found;
}

std::unique_ptr<TrustedRoot> HttpsServerTest::root_;

void HttpsServerTest::SetUpTestSuite() {
  const auto ca = windows_path_from_env("VESSA_HTTPS_CA");
  if (!ca.empty()) root_ = std::make_unique<TrustedRoot>(ca);
}

void HttpsServerTest::TearDownTestSuite() { root_.reset(); }

void HttpsServerTest::SetUp() {
  if (!root_ || !server_.available()) {
    GTEST_SKIP() << "needs the local HTTPS server: run by this program's CTest test named *_https";
  }
  ASSERT_TRUE(root_->ok()) << root_->error();
}

}  // namespace vessa::test
