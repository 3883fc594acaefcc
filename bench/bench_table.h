// The rows of the one table that tools/bench.sh prints: each compares a
// figure of Lumbra's (a time, an amount of memory) with the figure of a
// peer or floor measured in the same run, or with an aim. The benchmarks
// print their own lines as well; a row is a line of its own, marked for
// the script.
#pragma once

#include <cmath>
#include <cstdio>
#include <string>

namespace lumbra::bench {

// A duration in the unit that keeps it readable (a difference of two
// times may be negative).
inline std::string Duration(double seconds) {
  const double size = std::fabs(seconds);
  char text[32];
  if (size >= 1.0) {
    std::snprintf(text, sizeof text, "%.3f s", seconds);
  } else if (size >= 1e-3) {
    std::snprintf(text, sizeof text, "%.2f ms", seconds * 1e3);
  } else if (size >= 1e-6) {
    std::snprintf(text, sizeof text, "%.2f us", seconds * 1e6);
  } else {
    std::snprintf(text, sizeof text, "%.1f ns", seconds * 1e9);
  }
  return text;
}

// An amount of memory in megabytes of 1,000,000 bytes.
inline std::string Megabytes(double bytes) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f MB", bytes / 1e6);
  return text;
}

// One row as the script reads it: what was measured, Lumbra's figure, the
// peer and its figure, and the ratio of the two.
inline void TableLine(const std::string& what, const std::string& lumbra, const std::string& peer,
                      const std::string& peerFigure, double ratio) {
  std::printf("@row\t%s\t%s\t%s\t%s\t%.2f\n", what.c_str(), lumbra.c_str(), peer.c_str(),
              peerFigure.c_str(), ratio);
  std::fflush(stdout);
}

// One row: what was measured, Lumbra's time, the peer and its time. The
// ratio is Lumbra's time over the peer's: below 1, Lumbra is faster.
inline void TableRow(const std::string& what, double lumbraSeconds, const std::string& peer,
                     double peerSeconds) {
  TableLine(what, Duration(lumbraSeconds), peer, Duration(peerSeconds),
            lumbraSeconds / peerSeconds);
}

// The same for amounts of memory: below 1, Lumbra uses less.
inline void MemoryRow(const std::string& what, double lumbraBytes, const std::string& peer,
                      double peerBytes) {
  TableLine(what, Megabytes(lumbraBytes), peer, Megabytes(peerBytes), lumbraBytes / peerBytes);
}

// A figure against its aim, the most it should be: the ratio is the figure
// over the aim, and the peer column says whether the aim is met.
inline const char* AimVerdict(double figure, double aim) {
  return figure <= aim ? "aim: met" : "aim: NOT met";
}
inline void AimRow(const std::string& what, double lumbraSeconds, double aimSeconds) {
  TableLine(what, Duration(lumbraSeconds), AimVerdict(lumbraSeconds, aimSeconds),
            Duration(aimSeconds), lumbraSeconds / aimSeconds);
}
inline void MemoryAimRow(const std::string& what, double lumbraBytes, double aimBytes) {
  TableLine(what, Megabytes(lumbraBytes), AimVerdict(lumbraBytes, aimBytes), Megabytes(aimBytes),
            lumbraBytes / aimBytes);
}

}  // namespace lumbra::bench
