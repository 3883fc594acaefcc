// The rows of the one table that tools/bench.sh prints: each compares a
// time of Lumbra's with the time of a peer measured in the same run. The
// benchmarks print their own lines as well; a row is a line of its own,
// marked for the script.
#pragma once

#include <cstdio>
#include <string>

namespace lumbra::bench {

// A duration in the unit that keeps it readable.
inline std::string Duration(double seconds) {
  char text[32];
  if (seconds >= 1.0) {
    std::snprintf(text, sizeof text, "%.3f s", seconds);
  } else if (seconds >= 1e-3) {
    std::snprintf(text, sizeof text, "%.2f ms", seconds * 1e3);
  } else if (seconds >= 1e-6) {
    std::snprintf(text, sizeof text, "%.2f us", seconds * 1e6);
  } else {
    std::snprintf(text, sizeof text, "%.1f ns", seconds * 1e9);
  }
  return text;
}

// One row: what was measured, Lumbra's time, the peer and its time. The
// ratio is Lumbra's time over the peer's: below 1, Lumbra is faster.
inline void TableRow(const std::string& what, double lumbraSeconds, const std::string& peer,
                     double peerSeconds) {
  std::printf("@row\t%s\t%s\t%s\t%s\t%.2f\n", what.c_str(), Duration(lumbraSeconds).c_str(),
              peer.c_str(), Duration(peerSeconds).c_str(), lumbraSeconds / peerSeconds);
}

}  // namespace lumbra::bench
