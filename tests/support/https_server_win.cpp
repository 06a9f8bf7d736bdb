#include "https_server_win.hpp"

#include <windows.h>

#include <fstream>

#include "harness_win.hpp"

namespace vessa::test {

namespace fs = std::filesystem;

ScriptedHttpsServer::ScriptedHttpsServer() : folder_(windows_path_from_env("VESSA_HTTPS_SERVER")) {}

void ScriptedHttpsServer::write(std::string_view service, const std::string& text) const {
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
  std::error_code ignored;
  fs::remove(folder_ / fs::path(std::string(service)), ignored);
}

std::vector<std::string> ScriptedHttpsServer::requests(std::string_view prefix) const {
  std::vector<std::string> found;
  std::ifstream log(folder_ / L"requests.log", std::ios::binary);
  for (std::string line; std::getline(log, line);) {
    if (line.rfind(prefix, 0) == 0) found.push_back(line);
  }
  return found;
}

}  // namespace vessa::test
