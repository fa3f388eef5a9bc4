#pragma once

namespace core {

class Context;

// Removes what an earlier run, killed in the middle of a write, left
// behind: the temporary files of atomic writes in the folders of the
// program's own stores, the application folder and the folders the killed
// run recorded (WritesInProgress); no other folder is looked at. Files of
// writes still in progress in another process are kept. TempZip is cleared
// separately, by the one instance that may use it.
void RemoveLeftovers(Context& ctx);

}  // namespace core
