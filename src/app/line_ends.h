// The line-end repair that runs when a file is loaded with "Convert Unix files to Windows"
// on: doubled and tripled carriage returns before a line feed collapse to CR LF, and a file
// that has no CR LF at all gets CR LF for each bare LF. Works in place on the file's bytes,
// so a 100 MB file is not copied on its way to the editor.
#pragma once

#include <string>

namespace tavrel {

// Replaces every CR CR CR LF by CR LF, then every CR CR LF by CR LF, each as one left-to-right
// pass that does not rescan what it wrote (a run of k CRs before an LF keeps k - 2 of them
// after the first pass when k >= 3, then loses one more when two or more remain); then, when
// the text holds no CR LF, turns every LF into CR LF. One scan decides, one pass writes.
void repairLineEnds(std::string& text);

} // namespace tavrel
