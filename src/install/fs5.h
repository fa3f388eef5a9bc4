#pragma once

namespace core {
class Context;
}

namespace install {

// An FS5 aircraft in TempZip: refused under FS2002; otherwise the user is
// told, the simulator's converter (aafconv.exe for FS2000, aafconv98.exe for
// FS98) is pointed at TempZip through its configuration file, started and
// waited for. The aircraft counts as installed when the converter has
// written Aircraft\<name>\<name>.air.
void ConvertFs5Aircraft(core::Context& ctx);

}  // namespace install
