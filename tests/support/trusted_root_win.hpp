#pragma once
// A test CA trusted while the object lives: its certificate is added to the CurrentUser
// "Root" store of the test's own Wine prefix (this process and the programs it starts see
// it) and removed again at the end. Nothing outside the prefix changes.

#include <filesystem>
#include <string>
#include <vector>

namespace vessa::test {

class TrustedRoot {
 public:
  // `der_file`: the certificate in DER form. ok() tells whether it is trusted now; error()
  // says why not.
  explicit TrustedRoot(const std::filesystem::path& der_file);
  ~TrustedRoot();
  TrustedRoot(const TrustedRoot&) = delete;
  TrustedRoot& operator=(const TrustedRoot&) = delete;

  [[nodiscard]] bool ok() const noexcept { return added_; }
  [[nodiscard]] const std::string& error() const noexcept { return error_; }

 private:
  std::vector<unsigned char> der_;
  bool added_ = false;
  std::string error_;
};

}  // namespace vessa::test
