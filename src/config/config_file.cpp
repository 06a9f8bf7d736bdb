#include "config/config_file.hpp"

#include <functional>
#include <string_view>

#include "base/file_io.hpp"
#include "base/path_text.hpp"
#include "base/utf.hpp"
#include "config/config_text.hpp"

namespace vessa {
namespace {

// Keeps a file about to be replaced beside itself and returns where; `place` puts it at the name
// it is given. Each repair keeps its own copy, so the earlier ones (the settings the user had
// before anything was repaired among them) survive later repairs: the copy goes to the first name
// that holds no file; only with every name taken does the oldest copy go and the others move down
// one name.
Result<std::filesystem::path> keep_beside(const std::filesystem::path& path, std::string_view failure,
                                          const std::function<Status(const std::filesystem::path&)>& place) {
  std::size_t index = 0;
  while (index < kKeptBrokenCopies && vessa::is_regular_file(broken_copy_path(path, index))) ++index;
  const bool full = index == kKeptBrokenCopies;
  const std::filesystem::path copy = broken_copy_path(path, full ? kKeptBrokenCopies - 1 : index);
  const std::string message = std::string(failure) + path_to_utf8(copy);
  for (std::size_t older = 0; full && older + 1 < kKeptBrokenCopies; ++older) {
    const Result<std::string> newer = read_file_bytes(broken_copy_path(path, older + 1));
    if (!newer) return Error(message, newer.error());
    const Status moved = write_file_atomically(broken_copy_path(path, older), *newer);
    if (!moved) return Error(message, moved.error());
  }
  const Status placed = place(copy);
  if (!placed) return Error(message, placed.error());
  return copy;
}

constexpr std::string_view kBrokenNotKept = "壊れた設定ファイルを保存できません: ";

// Keeps the bytes of a file about to be replaced with the defaults. Without its bytes (the file
// could not be read at all) nothing is kept, and the caller must leave it alone.
Result<std::filesystem::path> keep_broken_file(const std::filesystem::path& path, const Result<std::string>& bytes) {
  if (!bytes) return Error(std::string(kBrokenNotKept) + path_to_utf8(broken_copy_path(path)), bytes.error());
  return keep_beside(path, kBrokenNotKept,
                     [&](const std::filesystem::path& copy) { return write_file_atomically(copy, *bytes); });
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
    loaded.unread = !bytes;
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

AcceptedSave save_accepted_config(const Config& config, const std::filesystem::path& path, bool unread) {
  AcceptedSave save;
  if (unread && vessa::is_regular_file(path)) {
    // The user's file is kept whatever it holds now: the settings window showed the defaults,
    // not this file, and OK writes what the window holds. Only a file that already is what the
    // save writes needs no copy.
    const Result<std::string> bytes = read_file_bytes(path);
    const Result<std::string> text = write_config_text(config);
    if (!bytes || !text || *bytes != *text) {
      constexpr std::string_view failure = "上書きする前に設定ファイルを退避できません: ";
      Result<std::filesystem::path> kept =
          bytes ? keep_beside(path, failure,
                              [&](const std::filesystem::path& copy) { return write_file_atomically(copy, *bytes); })
                : keep_beside(path, failure, [&](const std::filesystem::path& copy) { return move_file(path, copy); });
      if (!kept) {
        save.old_file_left = true;
        save.written = kept.error();
        return save;
      }
      save.kept = std::move(*kept);
    }
  }
  save.written = save_config(config, path);
  return save;
}

}  // namespace vessa
