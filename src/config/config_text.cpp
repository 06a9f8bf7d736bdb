#include "config/config_text.hpp"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <type_traits>
#include <utility>

#include "base/real_text.hpp"
#include "base/utf.hpp"
#include "config/colors.hpp"
#include "config/config_toml.hpp"

namespace vessa {
namespace {

// Every key of the file, in file order, for whichever visitor walks a Config: the reader, the
// writer and the comparison all take the order of tables and keys from here.
template <typename C, typename Visitor>
void visit_config(C& config, Visitor& v) {
  auto& general = config.general;
  v.table("general");
  v.field("update_interval_ms", general.update_interval_ms);
  v.field("language", general.language);
  v.field("displays", general.displays);

  auto& behavior = config.behavior;
  v.table("behavior");
  v.field("attach_mode", behavior.attach_mode);
  v.field("fallback", behavior.fallback);
  v.field("tray_icon", behavior.tray_icon);
  v.field("reattach_check_ms", behavior.reattach_check_ms);

  auto& layout = config.layout;
  v.table("layout");
  v.field("anchor", layout.anchor);
  v.field("offset_x", layout.offset_x);
  v.field("offset_y", layout.offset_y);
  v.field("line_length", layout.line_length);
  v.field("min_line_thickness", layout.min_line_thickness);
  v.field("max_line_thickness", layout.max_line_thickness);
  v.field("band_height", layout.band_height);
  v.field("padding_x", layout.padding_x);
  v.field("padding_y", layout.padding_y);
  v.field("line_inset", layout.line_inset);
  v.field("show_track", layout.show_track);
  v.field("lamp_size", layout.lamp_size);
  v.field("vertical_rotation", layout.vertical_rotation);

  auto& appearance = config.appearance;
  v.table("appearance");
  v.field("color_scheme", appearance.color_scheme);
  v.field("color_family", appearance.color_family);
  v.field("background", appearance.background);
  v.field("track_color", appearance.track_color);
  v.field("cpu_color", appearance.cpu_color);
  v.field("memory_color", appearance.memory_color);
  v.field("disk_color", appearance.disk_color);
  v.field("net_rx_color", appearance.net_rx_color);
  v.field("net_tx_color", appearance.net_tx_color);
  v.field("net_overlap_color", appearance.net_overlap_color);
  v.field("gpu_color", appearance.gpu_color);
  v.field("disk_lamp_read_color", appearance.disk_lamp_read_color);
  v.field("disk_lamp_write_color", appearance.disk_lamp_write_color);
  v.field("disk_lamp_both_color", appearance.disk_lamp_both_color);
  v.field("background_alpha", appearance.background_alpha);
  v.field("track_alpha", appearance.track_alpha);
  v.field("line_alpha", appearance.line_alpha);
  v.field("tooltip_background", appearance.tooltip_background);
  v.field("tooltip_text_color", appearance.tooltip_text_color);
  v.field("tooltip_label_color", appearance.tooltip_label_color);
  v.field("tooltip_font_family", appearance.tooltip_font_family);
  v.field("tooltip_font_size_pt", appearance.tooltip_font_size_pt);
  v.field("tray_icon_color", appearance.tray_icon_color);

  auto& metrics = config.metrics;
  v.table("metrics");
  v.field("items", metrics.items);
  v.field("disk_instances", metrics.disk_instances);
  v.field("network_adapter", metrics.network_adapter);
  v.field("network_scale_mbps", metrics.network_scale_mbps);
  v.field("network_logarithmic", metrics.network_logarithmic);
  v.field("network_floor_bytes_per_sec", metrics.network_floor_bytes_per_sec);
  v.field("disk_logarithmic", metrics.disk_logarithmic);
  v.field("disk_log_strength", metrics.disk_log_strength);
  v.field("disk_lamp", metrics.disk_lamp);
  v.field("disk_lamp_threshold_bytes_per_sec", metrics.disk_lamp_threshold_bytes_per_sec);
  v.field("disk_lamp_hold_ms", metrics.disk_lamp_hold_ms);

  auto& weather = config.weather;
  v.table("weather");
  v.field("enabled", weather.enabled);
  v.field("location_mode", weather.location_mode);
  v.field("place_name", weather.place_name);
  v.field("latitude", weather.latitude);
  v.field("longitude", weather.longitude);
  v.field("temperature_unit", weather.temperature_unit);
  v.field("update_interval_minutes", weather.update_interval_minutes);
  v.field("icon_gap", weather.icon_gap);
  v.field("icon_trim", weather.icon_trim);
  v.field("icon_color", weather.icon_color);
}

// --- numbers as text ---------------------------------------------------------------------

// A real read as a 64-bit number and narrowed to 32 bits the way the hardware rounds, with
// values beyond the largest float saturating to infinity (never undefined behaviour).
float narrow_to_float(double value) {
  constexpr double kMax = std::numeric_limits<float>::max();
  if (std::isnan(value)) return std::numeric_limits<float>::quiet_NaN();
  // Halfway between the largest float and the next power of two rounds to infinity.
  constexpr double kOverflow = kMax + 0x1p103;
  if (value >= kOverflow) return std::numeric_limits<float>::infinity();
  if (value <= -kOverflow) return -std::numeric_limits<float>::infinity();
  if (value > kMax) return std::numeric_limits<float>::max();
  if (value < -kMax) return -std::numeric_limits<float>::max();
  return static_cast<float>(value);
}

bool same_float_bits(float a, float b) {
  if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
  return a == b && std::signbit(a) == std::signbit(b);
}

// The 32-bit font size: its own shortest form when that reads back to the same float through
// the 64-bit path the reader takes, else the exact 64-bit form of the same value.
std::string real32_text(float value) {
  std::string text = real_text(value);
  if (std::isfinite(value)) {
    double parsed = 0.0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (result.ec != std::errc{} || !same_float_bits(narrow_to_float(parsed), value)) {
      text = real_text(static_cast<double>(value));
    }
  }
  return text;
}

// --- strings as text ---------------------------------------------------------------------

// A basic TOML string: quotes and backslashes escaped, control characters as escapes, any
// other character (non-ASCII included) as its UTF-8 bytes.
void append_quoted(std::string& out, std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  out += '"';
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\b': out += "\\b"; break;
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      case '\f': out += "\\f"; break;
      case '\r': out += "\\r"; break;
      default:
        if (byte < 0x20 || byte == 0x7F) {
          out += "\\u00";
          out += kHex[byte >> 4];
          out += kHex[byte & 0xF];
        } else {
          out += c;
        }
    }
  }
  out += '"';
}

// --- the writer --------------------------------------------------------------------------

class CanonicalWriter {
 public:
  void table(std::string_view name) {
    if (!text_.empty()) text_ += '\n';
    text_ += '[';
    text_ += name;
    text_ += "]\n";
    table_ = name;
  }

  template <typename Int>
    requires std::is_integral_v<Int> && (!std::is_same_v<Int, bool>)
  void field(std::string_view key, Int value) {
    if constexpr (std::is_same_v<Int, std::uint64_t>) {
      if (value > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
        fail(key, std::to_string(value) + " is larger than a TOML integer can be");
        return;
      }
    }
    line(key, std::to_string(value));
  }
  void field(std::string_view key, bool value) { line(key, value ? "true" : "false"); }
  void field(std::string_view key, double value) { line(key, real_text(value)); }
  void field(std::string_view key, float value) { line(key, real32_text(value)); }
  void field(std::string_view key, const std::string& value) {
    if (!is_valid_utf8(value)) {
      fail(key, "the text is not valid UTF-8");
      return;
    }
    line(key, quoted(value));
  }
  void field(std::string_view key, Rgb value) { line(key, quoted(format_color(value))); }
  template <typename Enum>
    requires std::is_enum_v<Enum>
  void field(std::string_view key, Enum value) {
    const std::string_view text = enum_text(value);
    if (text.empty()) {
      fail(key, "value " + std::to_string(static_cast<unsigned>(value)) + " has no text form");
      return;
    }
    line(key, quoted(text));
  }
  template <typename T>
  void field(std::string_view key, const std::optional<T>& value) {
    if (value.has_value()) field(key, *value);
  }
  template <typename T>
  void field(std::string_view key, const std::vector<T>& values) {
    std::string list = "[";
    for (std::size_t i = 0; i < values.size(); ++i) {
      if (i != 0) list += ", ";
      if constexpr (std::is_enum_v<T>) {
        const std::string_view text = enum_text(values[i]);
        if (text.empty()) {
          fail(key, "an entry has no text form");
          return;
        }
        append_quoted(list, text);
      } else {
        if (!is_valid_utf8(values[i])) {
          fail(key, "an entry is not valid UTF-8");
          return;
        }
        append_quoted(list, values[i]);
      }
    }
    list += ']';
    line(key, list);
  }

  [[nodiscard]] Result<std::string> finish() && {
    if (error_) return Error(*error_);
    return std::move(text_);
  }

 private:
  static std::string quoted(std::string_view text) {
    std::string out;
    append_quoted(out, text);
    return out;
  }
  void line(std::string_view key, std::string_view value) {
    text_ += key;
    text_ += " = ";
    text_ += value;
    text_ += '\n';
  }
  void fail(std::string_view key, const std::string& why) {
    if (!error_) error_ = std::string(table_) + "." + std::string(key) + ": " + why;
  }

  std::string text_;
  std::string_view table_;
  std::optional<std::string> error_;
};

// --- the reader --------------------------------------------------------------------------

std::string_view type_name(toml::node_type type) {
  switch (type) {
    case toml::node_type::table: return "a table";
    case toml::node_type::array: return "an array";
    case toml::node_type::string: return "a string";
    case toml::node_type::integer: return "an integer";
    case toml::node_type::floating_point: return "a floating-point number";
    case toml::node_type::boolean: return "a boolean";
    case toml::node_type::date: return "a date";
    case toml::node_type::time: return "a time";
    case toml::node_type::date_time: return "a date-time";
    case toml::node_type::none: break;
  }
  return "nothing";
}

template <typename Int>
std::string_view integer_kind() {
  if constexpr (std::is_same_v<Int, std::uint8_t>) return "an unsigned 8-bit integer";
  if constexpr (std::is_same_v<Int, std::uint32_t>) return "an unsigned 32-bit integer";
  if constexpr (std::is_same_v<Int, std::int32_t>) return "a signed 32-bit integer";
  if constexpr (std::is_same_v<Int, std::uint64_t>) return "an unsigned 64-bit integer";
  return "an integer";
}

template <typename Enum>
std::string expected_texts() {
  std::string out;
  for (std::size_t i = 0; i < enum_count<Enum>; ++i) {
    if (i != 0) out += ", ";
    out += '"';
    out += EnumTexts<Enum>::names[i];
    out += '"';
  }
  return out;
}

class ConfigReader {
 public:
  explicit ConfigReader(const toml::table& root) : root_(root) {}

  void table(std::string_view name) {
    table_name_ = name;
    current_ = nullptr;
    if (error_) return;
    const toml::node* node = root_.get(name);
    if (node == nullptr) return;
    current_ = node->as_table();
    if (current_ == nullptr) error_ = std::string(name) + ": expected a table, found " + std::string(type_name(node->type()));
  }

  template <typename Int>
    requires std::is_integral_v<Int> && (!std::is_same_v<Int, bool>)
  void field(std::string_view key, Int& value) {
    if (const toml::node* node = find(key)) read_integer(key, *node, value);
  }
  void field(std::string_view key, bool& value) {
    const toml::node* node = find(key);
    if (node == nullptr) return;
    if (const auto* boolean = node->as_boolean()) {
      value = boolean->get();
    } else {
      wrong_type(key, "a boolean", *node);
    }
  }
  void field(std::string_view key, double& value) {
    if (const toml::node* node = find(key)) read_real(key, *node, value);
  }
  void field(std::string_view key, float& value) {
    double wide = 0.0;
    const toml::node* node = find(key);
    if (node != nullptr && read_real(key, *node, wide)) value = narrow_to_float(wide);
  }
  void field(std::string_view key, std::string& value) {
    const toml::node* node = find(key);
    if (node == nullptr) return;
    if (const auto* text = node->as_string()) {
      value = text->get();
    } else {
      wrong_type(key, "a string", *node);
    }
  }
  void field(std::string_view key, Rgb& value) {
    if (const toml::node* node = find(key)) read_color(path(key), *node, value);
  }
  template <typename Enum>
    requires std::is_enum_v<Enum>
  void field(std::string_view key, Enum& value) {
    if (const toml::node* node = find(key)) read_enum(path(key), *node, value);
  }
  template <typename T>
  void field(std::string_view key, std::optional<T>& value) {
    if (find(key) == nullptr) return;
    T present{};
    field(key, present);
    if (!error_) value = present;
  }
  template <typename T>
  void field(std::string_view key, std::vector<T>& values) {
    const toml::node* node = find(key);
    if (node == nullptr) return;
    const toml::array* array = node->as_array();
    if (array == nullptr) {
      wrong_type(key, "an array", *node);
      return;
    }
    std::vector<T> read;
    for (std::size_t i = 0; i < array->size() && !error_; ++i) {
      const std::string item_path = path(key) + "[" + std::to_string(i) + "]";
      const toml::node& item = *array->get(i);
      T entry{};
      if constexpr (std::is_enum_v<T>) {
        read_enum(item_path, item, entry);
      } else if (const auto* text = item.as_string()) {
        entry = text->get();
      } else {
        error_ = item_path + ": expected a string, found " + std::string(type_name(item.type()));
      }
      read.push_back(std::move(entry));
    }
    if (!error_) values = std::move(read);
  }

  [[nodiscard]] const std::optional<std::string>& error() const { return error_; }

 private:
  const toml::node* find(std::string_view key) const {
    if (error_ || current_ == nullptr) return nullptr;
    return current_->get(key);
  }
  std::string path(std::string_view key) const { return std::string(table_name_) + "." + std::string(key); }
  void wrong_type(std::string_view key, std::string_view expected, const toml::node& node) {
    error_ = path(key) + ": expected " + std::string(expected) + ", found " + std::string(type_name(node.type()));
  }

  template <typename Int>
  void read_integer(std::string_view key, const toml::node& node, Int& value) {
    const auto* integer = node.as_integer();
    if (integer == nullptr) {
      wrong_type(key, integer_kind<Int>(), node);
      return;
    }
    const std::int64_t number = integer->get();
    if (!std::in_range<Int>(number)) {
      error_ = path(key) + ": " + std::to_string(number) + " does not fit " + std::string(integer_kind<Int>());
      return;
    }
    value = static_cast<Int>(number);
  }

  // A real; a plain integer is accepted as well.
  bool read_real(std::string_view key, const toml::node& node, double& value) {
    if (const auto* real = node.as_floating_point()) {
      value = real->get();
      return true;
    }
    if (const auto* integer = node.as_integer()) {
      value = static_cast<double>(integer->get());
      return true;
    }
    wrong_type(key, "a number", node);
    return false;
  }

  void read_color(const std::string& where, const toml::node& node, Rgb& value) {
    const auto* text = node.as_string();
    if (text == nullptr) {
      error_ = where + ": expected a colour string, found " + std::string(type_name(node.type()));
      return;
    }
    const Result<Rgb> color = parse_color(text->get());
    if (!color) {
      error_ = where + ": " + color.error().full_text();
      return;
    }
    value = *color;
  }

  template <typename Enum>
  void read_enum(const std::string& where, const toml::node& node, Enum& value) {
    const auto* text = node.as_string();
    if (text == nullptr) {
      error_ = where + ": expected one of " + expected_texts<Enum>() + ", found " + std::string(type_name(node.type()));
      return;
    }
    const auto parsed = enum_from_text<Enum>(text->get());
    if (!parsed) {
      error_ = where + ": unknown value \"" + text->get() + "\", expected one of " + expected_texts<Enum>();
      return;
    }
    value = *parsed;
  }

  const toml::table& root_;
  const toml::table* current_ = nullptr;
  std::string_view table_name_;
  std::optional<std::string> error_;
};

std::string describe(const toml::parse_error& error) {
  std::string text = one_line(error.description());
  const toml::source_position where = error.source().begin;
  return text + " (line " + std::to_string(where.line) + ", column " + std::to_string(where.column) + ")";
}

// Every real field of a Config, for the NaN-aware comparison.
class RealCollector {
 public:
  void table(std::string_view) {}
  template <typename T>
  void field(std::string_view, T&) {}
  void field(std::string_view, double& value) { take(value); }
  void field(std::string_view, float& value) {
    kinds.push_back(std::isnan(value) ? 1 : 0);
    if (std::isnan(value)) value = 0.0f;
  }
  void field(std::string_view, std::optional<double>& value) {
    if (value.has_value()) take(*value);
  }
  std::vector<int> kinds;  // per real field: 0 a number, 1 NaN (zeroed, so that == compares the rest)

 private:
  void take(double& value) {
    kinds.push_back(std::isnan(value) ? 1 : 0);
    if (std::isnan(value)) value = 0.0;
  }
};

}  // namespace

std::string one_line(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (byte < 0x20 || byte == 0x7F) {
          out += "\\x";
          out += kHex[byte >> 4];
          out += kHex[byte & 0xF];
        } else {
          out += c;
        }
    }
  }
  return out;
}

std::vector<std::string> unknown_key_paths(const toml::table& file, const toml::table& canonical,
                                           std::string_view prefix) {
  std::vector<std::string> paths;
  for (const auto& [key, value] : file) {
    const std::string path = prefix.empty() ? std::string(key.str()) : std::string(prefix) + "." + std::string(key.str());
    const toml::node* known = canonical.get(key.str());
    if (known == nullptr) {
      paths.push_back(path);
    } else if (value.is_table() && known->is_table()) {
      std::vector<std::string> inner = unknown_key_paths(*value.as_table(), *known->as_table(), path);
      paths.insert(paths.end(), std::make_move_iterator(inner.begin()), std::make_move_iterator(inner.end()));
    }
  }
  return paths;
}

Result<std::string> write_config_text(const Config& config) {
  CanonicalWriter writer;
  visit_config(config, writer);
  return std::move(writer).finish();
}

ConfigReading read_config_text(std::string_view text) {
  ConfigReading reading;
  const toml::parse_result parsed = toml::parse(text);
  if (!parsed) {
    reading.rejection = describe(parsed.error());
    return reading;
  }
  Config config;
  ConfigReader reader(parsed.table());
  visit_config(config, reader);
  if (reader.error()) {
    reading.rejection = *reader.error();
    return reading;
  }
  reading.config = std::move(config);

  // Unknown keys are what the file has beyond the table the writer would produce.
  const Result<std::string> canonical = write_config_text(reading.config);
  if (canonical) {
    const toml::parse_result canonical_table = toml::parse(*canonical);
    if (canonical_table) reading.unknown_keys = unknown_key_paths(parsed.table(), canonical_table.table());
    reading.canonical = *canonical == text;
  }
  return reading;
}

bool same_config(const Config& a, const Config& b) {
  Config left = a;
  Config right = b;
  RealCollector left_reals;
  RealCollector right_reals;
  visit_config(left, left_reals);
  visit_config(right, right_reals);
  return left_reals.kinds == right_reals.kinds && left == right;
}

}  // namespace vessa
