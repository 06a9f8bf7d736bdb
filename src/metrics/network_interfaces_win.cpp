#include "metrics/network_interfaces_win.hpp"

#include <winsock2.h>
#include <ws2ipdef.h>
#include <iphlpapi.h>
#include <netioapi.h>

#include <cwchar>

#include "base/lazy_library_win.hpp"
#include "base/system_error.hpp"
#include "base/unique_handle_win.hpp"
#include "base/wide_win.hpp"
#include "base/win_error_win.hpp"

namespace vessa {
namespace {

LazyLibrary g_iphlpapi(L"iphlpapi.dll");
LazyFunction<decltype(GetIfTable2)> get_if_table2(g_iphlpapi, "GetIfTable2");
LazyFunction<decltype(FreeMibTable)> free_mib_table(g_iphlpapi, "FreeMibTable");

// The table GetIfTable2 allocates is given back with FreeMibTable, by its one owner.
inline void free_if_table(MIB_IF_TABLE2* table) noexcept { free_mib_table(table); }
using UniqueIfTable = UniqueAny<MIB_IF_TABLE2*, &free_if_table>;

constexpr char kFailed[] = "GetIfTable2 に失敗しました";

}  // namespace

Result<std::vector<NetworkInterface>> read_network_interfaces() {
  // Both functions or neither: a table that could not be freed is not taken.
  if (Status found = get_if_table2.resolve(); !found) return Error(kFailed, found.error());
  if (Status found = free_mib_table.resolve(); !found) return Error(kFailed, found.error());
  UniqueIfTable table;
  const NETIO_STATUS status = get_if_table2.address()(table.put());
  if (status != NO_ERROR) return Error(std::string(kFailed) + " (" + hex_code(static_cast<std::uint32_t>(status)) + ")");
  if (!table) return Error(kFailed);

  std::vector<NetworkInterface> rows;
  rows.reserve(table->NumEntries);
  for (ULONG i = 0; i < table->NumEntries; ++i) {
    const MIB_IF_ROW2& row = table->Table[i];
    const std::size_t length = wcsnlen(row.Description, std::size(row.Description));
    rows.push_back({narrow(std::wstring_view(row.Description, length)), row.InterfaceAndOperStatusFlags.HardwareInterface != 0});
  }
  return rows;
}

}  // namespace vessa
