// docs/configuration.md against the configuration model: the document lists every key the
// reader and writer know (the one key walk they share), no key they do not, in file order, and
// gives each key the default the writer writes. A key added to the model without a line in the
// document, or a line left behind for a key removed, fails here.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "config/config.hpp"
#include "config/config_keys.hpp"
#include "config/config_text.hpp"

namespace vessa {
namespace {

// "table.key" for every key visit_config walks, in its order.
class KeyLister {
 public:
  void table(std::string_view name) { table_ = name; }
  template <typename T>
  void field(std::string_view key, const T&) {
    keys.push_back(table_ + "." + std::string(key));
  }
  std::vector<std::string> keys;

 private:
  std::string table_;
};

std::vector<std::string> model_keys() {
  const Config config;
  KeyLister lister;
  visit_config(config, lister);
  return lister.keys;
}

struct DocumentedKey {
  std::string path;           // "table.key"
  std::string default_value;  // the Default cell as written
};

// The key rows of the document: a heading "## `[table]`" opens a table; under it every table
// row whose first cell is a key in backticks names one key.
std::vector<DocumentedKey> documented_keys(const std::string& markdown) {
  std::vector<DocumentedKey> keys;
  std::istringstream lines(markdown);
  std::string line;
  std::string table;
  while (std::getline(lines, line)) {
    if (line.rfind("## `[", 0) == 0) {
      const auto end = line.find("]`");
      table = end == std::string::npos ? "" : line.substr(5, end - 5);
      continue;
    }
    if (line.rfind("## ", 0) == 0) table.clear();
    if (table.empty() || line.rfind("| `", 0) != 0) continue;
    std::vector<std::string> cells;
    std::size_t start = 1;
    for (std::size_t bar = line.find(" | ", start); bar != std::string::npos; bar = line.find(" | ", start)) {
      cells.push_back(line.substr(start, bar - start));
      start = bar + 3;
    }
    cells.push_back(line.substr(start));
    for (auto& cell : cells) {
      while (!cell.empty() && (cell.front() == ' ' || cell.front() == '|')) cell.erase(cell.begin());
      while (!cell.empty() && (cell.back() == ' ' || cell.back() == '|')) cell.pop_back();
    }
    const std::string& key = cells[0];
    if (key.size() < 3 || key.back() != '`') continue;
    keys.push_back({table + "." + key.substr(1, key.size() - 2), cells.size() > 2 ? cells[2] : ""});
  }
  return keys;
}

std::string read_document() {
  std::ifstream file(std::string(VESSA_DOCS_DIR) + "/configuration.md", std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

// "table.key" -> value text of every `key = value` line the writer writes for `config`.
std::map<std::string, std::string> written_values(const Config& config) {
  std::map<std::string, std::string> values;
  const auto text = write_config_text(config);
  if (!text) return values;
  std::istringstream lines(*text);
  std::string line;
  std::string table;
  while (std::getline(lines, line)) {
    if (line.size() > 2 && line.front() == '[' && line.back() == ']') {
      table = line.substr(1, line.size() - 2);
    } else if (const auto equals = line.find(" = "); equals != std::string::npos) {
      values[table + "." + line.substr(0, equals)] = line.substr(equals + 3);
    }
  }
  return values;
}

std::string joined(const std::vector<std::string>& items) {
  std::string out;
  for (const auto& item : items) out += (out.empty() ? "" : ", ") + item;
  return out;
}

TEST(ConfigurationDocument, NamesExactlyTheModelsKeysInFileOrder) {
  const std::string document = read_document();
  ASSERT_FALSE(document.empty()) << VESSA_DOCS_DIR "/configuration.md not found";
  const std::vector<std::string> model = model_keys();
  std::vector<std::string> documented;
  for (const auto& key : documented_keys(document)) documented.push_back(key.path);

  std::vector<std::string> undocumented;
  for (const auto& key : model) {
    if (std::find(documented.begin(), documented.end(), key) == documented.end()) undocumented.push_back(key);
  }
  std::vector<std::string> unknown;
  for (const auto& key : documented) {
    if (std::find(model.begin(), model.end(), key) == model.end()) unknown.push_back(key);
  }
  EXPECT_EQ(joined(undocumented), "") << "keys of config.toml missing from docs/configuration.md";
  EXPECT_EQ(joined(unknown), "") << "keys in docs/configuration.md that config.toml does not have";
  if (undocumented.empty() && unknown.empty()) {
    EXPECT_EQ(documented, model) << "the document's key order";
  }
}

TEST(ConfigurationDocument, GivesEachKeyTheDefaultTheWriterWrites) {
  const std::vector<DocumentedKey> documented = documented_keys(read_document());
  ASSERT_FALSE(documented.empty());
  const std::map<std::string, std::string> defaults = written_values(Config{});
  ASSERT_FALSE(defaults.empty());
  for (const auto& key : documented) {
    const auto written = defaults.find(key.path);
    // Optional keys without a value are left out of the file.
    const std::string expected = written == defaults.end() ? "not set" : "`" + written->second + "`";
    EXPECT_EQ(key.default_value, expected) << key.path;
  }
}

}  // namespace
}  // namespace vessa
