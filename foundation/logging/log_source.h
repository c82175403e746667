// A program that does not own a log writes into the log another program of
// the suite has open; a log source tells where that is at the moment.
#pragma once
#include <string>

class LogSource {
 public:
  virtual ~LogSource() = default;
  // The file of the open log, or empty while none is open.
  virtual std::wstring CurrentPath() const = 0;
};

// Lines go to source's file instead of the program's own log (null: back to
// the own log). The source must live as long as the process logs.
void SetLogSource(const LogSource* source);
