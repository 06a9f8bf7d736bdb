#include "config/config_file.hpp"

#include "base/file_io.hpp"
#include "base/path_text.hpp"
#include "base/utf.hpp"
#include "config/config_text.hpp"

namespace vessa {
namespace {

// Keeps the bytes of a file about to be replaced with the defaults and returns where. Each
// repair keeps its own copy, so the earlier ones (the settings the user had before anything was
// repaired among them) survive later repairs: the copy goes to the first name that holds no
// file; only with every name taken does the oldest copy go and the others move down one name. Without its bytes
// (the file could not be read at all) nothing can be kept, and the caller must leave it alone.
Result<std::filesystem::path> keep_broken_file(const std::filesystem::path& path, const Result<std::string>& bytes) {
  std::size_t index = 0;
  while (index < kKeptBrokenCopies && vessa::is_regular_file(broken_copy_path(path, index))) ++index;
  const bool full = index == kKeptBrokenCopies;
  const std::filesystem::path copy = broken_copy_path(path, full ? kKeptBrokenCopies - 1 : index);
  const std::string message = "壊れた設定ファイルを保存できません: " + path_to_utf8(copy);
  if (!bytes) return Error(message, bytes.error());
  for (std::size_t older = 0; full && older + 1 < kKeptBrokenCopies; ++older) {
    const Result<std::string> newer = read_file_bytes(broken_copy_path(path, older + 1));
    if (!newer) return Error(message, newer.error());
    const Status moved = write_file_atomically(broken_copy_path(path, older), *newer);
    if (!moved) return Error(message, moved.error());
  }
  const Status written = write_file_atomically(copy, *bytes);
  if (!written) return Error(message, written.error());
  return copy;
}

}  // namespace

std::filesystem::path broken_copy_path(const std::filesystem::path& path, std::size_t index) {
  std::filesystem::path copy = path;
  copy += ".broken";
  if (index != 0) copy += "." + std::to_string(index);
  return copy;
}

LoadedConfig load_config(const std::filesystem::path& path) {
  LoadedConfig loaded;
  bool write_back = false;
  bool broken = false;
  std::optional<std::string> error;  // the reader's, when it read the text

  const Result<std::string> bytes = read_file_bytes(path);
  if (!bytes || !is_valid_utf8(*bytes)) {
    loaded.diagnostics.push_back("設定ファイルを読めません: " + path_to_utf8(path));
    broken = true;
  } else {
    ConfigReading reading = read_config_text(*bytes);
    if (reading.rejection) {
      error = one_line(*reading.rejection);
      loaded.diagnostics.push_back("設定ファイルが壊れています。作り直します: " + *error);
      broken = true;
    } else {
      for (const std::string& key : reading.unknown_keys) {
        loaded.diagnostics.push_back("設定の項目を無視しました: " + one_line(key));
      }
      loaded.config = std::move(reading.config);
      write_back = !reading.canonical;
    }
  }

  if (broken) {
    // The defaults go over the file only once its old bytes are safe beside it.
    const Result<std::filesystem::path> kept = keep_broken_file(path, bytes);
    if (!kept) {
      loaded.diagnostics.push_back("設定ファイルを書き戻せません: " + kept.error().full_text());
      return loaded;
    }
    loaded.diagnostics.push_back("壊れた設定ファイルを保存しました: " + path_to_utf8(*kept));
    loaded.reset = ConfigReset{std::move(error), *kept};
    write_back = true;
  }

  if (write_back) {
    const Status saved = save_config(loaded.config, path);
    if (!saved) loaded.diagnostics.push_back("設定ファイルを書き戻せません: " + saved.error().full_text());
  }
  return loaded;
}

Status save_config(const Config& config, const std::filesystem::path& path) {
  const std::filesystem::path folder = path.parent_path();
  if (!folder.empty()) {
    const Status created = create_folders(folder);
    if (!created) return Error("設定ディレクトリを作成できません: " + path_to_utf8(folder), created.error());
  }
  const Result<std::string> text = write_config_text(config);
  if (!text) return Error("設定のシリアライズに失敗しました", text.error());
  const Status written = write_file_atomically(path, *text);
  if (!written) return Error("設定ファイルを書き込めません: " + path_to_utf8(path), written.error());
  return {};
}

}  // namespace vessa
