#pragma once

namespace sf {

// A write beyond the file-size limit (ulimit -f) fails with EFBIG and its usual message instead
// of ending the process without a word.
void IgnoreFileSizeSignal();

// SIGTERM, SIGINT and SIGHUP ask the run to stop, as Stop does in the window: it ends at its
// next step with the previous report kept and its temporary files gone. A second such signal
// ends the process at once. A wait for input that a signal interrupts ends with EINTR. A signal
// the process was started to ignore (nohup) stays ignored.
void CatchStopSignals();

// The signal that asked to stop, or 0.
int CaughtStopSignal();

}  // namespace sf
