#pragma once
// The program's cursor display count, shared by the shell and every box as
// the system's is: the cursor shows while the count is not negative. The
// first hide below zero blanks the cursor over the whole program and the
// show that brings the count back to zero restores it.

namespace mok::shell {

int HideProgramCursor();
int ShowProgramCursor();

}  // namespace mok::shell
