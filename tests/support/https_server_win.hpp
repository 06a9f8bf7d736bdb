#pragma once
// The test side of tests/win/https_server.py, the local HTTPS server the HTTPS tests run
// against (inside https_namespace.sh): what it answers for a scripted service and what it was
// asked, and the fixture every suite against it derives from. Inert (available() false)
// outside that namespace.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "trusted_root_win.hpp"

namespace vessa::test {

class ScriptedHttpsServer {
 public:
  ScriptedHttpsServer();  // the server's state folder from VESSA_HTTPS_SERVER

  [[nodiscard]] bool available() const { return !folder_.empty(); }

  // What the server answers for a scripted service ("forecast", "places") from now on.
  // Written beside and moved into place, so the server never reads half a file.
  void answer(std::string_view service, int status, const std::string& body) const;
  // The service takes each request and never answers it.
  void hang(std::string_view service) const;
  // Back to the server's built-in answer.
  void reset(std::string_view service) const;

  // "path<TAB>user agent" of every request so far whose path starts with `prefix`.
  [[nodiscard]] std::vector<std::string> requests(std::string_view prefix) const;

 private:
  void write(std::string_view service, const std::string& text) const;

  std::filesystem::path folder_;
};

// A suite against the local server: the test CA (VESSA_HTTPS_CA) is trusted while the suite
// runs, and every test skips itself outside https_namespace.sh. A derived SetUp calls this
// one first, then scripts `server_` (which does nothing when the test skipped).
class HttpsServerTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite();
  static void TearDownTestSuite();
  void SetUp() override;

  ScriptedHttpsServer server_;

 private:
  static std::unique_ptr<TrustedRoot> root_;
};

}  // namespace vessa::test
