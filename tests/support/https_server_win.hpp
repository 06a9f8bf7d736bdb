#pragma once
// The test side of tests/win/https_server.py, the local HTTPS server the HTTPS tests run
// against (inside https_namespace.sh): what it answers for a scripted service and what it was
// asked. Inert (available() false) outside that namespace.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

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

}  // namespace vessa::test
