// Records and measures what the program plays into the test session's null sink.
//   sound_probe record FILE RATE SOURCE   records SOURCE (a PulseAudio source, through parec;
//                                         "-" reads raw s16le mono from stdin) into FILE, and
//                                         FILE.clock, which maps it to the host clock; ends on
//                                         SIGTERM or SIGINT, or when the input ends
//   sound_probe analyse FILE RATE [--from S] [--to S] [--from-ms MS] [--to-ms MS]
//                                 [--gap-ms N] [--threshold-db DB]
//                                         key=value lines about FILE or a part of it
//   sound_probe quiet FILE RATE [--from S] [--threshold-db DB]
//                                         how long FILE's end has been silent, and how much of
//                                         it (from S on) sounded
//   sound_probe host-ms FILE SECONDS      host milliseconds at which that point was played
//   sound_probe seconds FILE MS           the point of FILE played at host millisecond MS
//   sound_probe now                       host milliseconds now
// Host milliseconds are CLOCK_MONOTONIC_RAW, which is what Wine's GetTickCount64 counts (in
// 16 ms steps), so they compare directly with the engine's journal.
#include "sound_analysis.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Silence while a recording grows: the null sink's is digital zero, and speech at the lowest
// volume a test sets stays well above this.
constexpr double kQuietDb = -60;

volatile sig_atomic_t g_stop = 0;

void OnStopSignal(int) { g_stop = 1; }

double HostMs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC_RAW, &now);
  return static_cast<double>(now.tv_sec) * 1000 + static_cast<double>(now.tv_nsec) / 1e6;
}

int Usage() {
  std::fprintf(stderr,
               "usage: sound_probe record FILE RATE SOURCE|-\n"
               "       sound_probe analyse FILE RATE [--from S] [--to S] [--from-ms MS] [--to-ms MS] [--gap-ms N] [--threshold-db DB]\n"
               "       sound_probe quiet FILE RATE [--from S] [--threshold-db DB]\n"
               "       sound_probe host-ms FILE SECONDS | seconds FILE MS | now\n");
  return 2;
}

std::vector<int16_t> ReadSamples(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<int16_t> samples(bytes.size() / 2);
  std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
  return samples;
}

std::optional<sound::RecordingClock> ReadClock(const std::string& path) {
  std::ifstream in(path + ".clock");
  if (!in) return std::nullopt;
  std::stringstream text;
  text << in.rdbuf();
  return sound::RecordingClock::Parse(text.str());
}

// Written beside and renamed, so a reader never sees half a file.
void WriteClock(const std::string& path, const sound::RecordingClock& clock) {
  const std::string temporary = path + ".clock.new";
  {
    std::ofstream out(temporary, std::ios::trunc);
    out << clock.Serialise();
  }
  std::rename(temporary.c_str(), (path + ".clock").c_str());
}

pid_t StartRecorder(const std::string& source, int rate, int* readEnd) {
  int fds[2];
  if (pipe(fds) != 0) return -1;
  const pid_t child = fork();
  if (child == 0) {
    dup2(fds[1], STDOUT_FILENO);
    close(fds[0]);
    close(fds[1]);
    const std::string device = "--device=" + source, rateArgument = "--rate=" + std::to_string(rate);
    // A short fragment: arrivals then follow the sound closely, which the clock relies on.
    execlp("parec", "parec", device.c_str(), "--format=s16le", rateArgument.c_str(), "--channels=1", "--raw",
           "--latency-msec=10", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  *readEnd = fds[0];
  return child;
}

int Record(const std::string& path, int rate, const std::string& source) {
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigaction(SIGTERM, &action, nullptr);  // no SA_RESTART: a signal must end the blocking read
  sigaction(SIGINT, &action, nullptr);
  int input = STDIN_FILENO;
  pid_t recorder = 0;
  if (source != "-") {
    recorder = StartRecorder(source, rate, &input);
    if (recorder < 0) return 1;
  }
  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (!out) return 1;
  sound::RecordingClock clock(rate);
  uint64_t bytes = 0;
  double lastWrite = 0;
  char buffer[4096];
  while (!g_stop) {
    const ssize_t n = read(input, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    const double arrived = HostMs();
    // Unbuffered on purpose: scripts read the file while it grows.
    std::fwrite(buffer, 1, static_cast<size_t>(n), out);
    std::fflush(out);
    bytes += static_cast<uint64_t>(n);
    clock.AddArrival(bytes / 2, arrived);
    if (arrived - lastWrite >= 200) {
      WriteClock(path, clock);
      lastWrite = arrived;
    }
  }
  std::fclose(out);
  WriteClock(path, clock);
  if (recorder > 0) {
    kill(recorder, SIGTERM);
    waitpid(recorder, nullptr, 0);
  }
  return 0;
}

struct Options {
  sound::AnalysisOptions analysis;
  std::optional<double> from, to, fromMs, toMs;
};

bool ParseOptions(int argc, char** argv, int first, Options* options) {
  for (int i = first; i < argc; i += 2) {
    if (i + 1 >= argc) return false;
    const std::string name = argv[i];
    const double value = std::atof(argv[i + 1]);
    if (name == "--from") options->from = value;
    else if (name == "--to") options->to = value;
    else if (name == "--from-ms") options->fromMs = value;
    else if (name == "--to-ms") options->toMs = value;
    else if (name == "--gap-ms") options->analysis.gapMs = value;
    else if (name == "--threshold-db") options->analysis.thresholdDb = value;
    else return false;
  }
  return true;
}

int Analyse(const std::string& path, int rate, Options options) {
  const std::vector<int16_t> all = ReadSamples(path);
  const auto clock = ReadClock(path);
  if ((options.fromMs || options.toMs) && !clock) {
    std::fprintf(stderr, "sound_probe: %s.clock is missing\n", path.c_str());
    return 1;
  }
  if (options.fromMs) options.from = clock->Seconds(*options.fromMs);
  if (options.toMs) options.to = clock->Seconds(*options.toMs);
  auto index = [&](std::optional<double> seconds, size_t otherwise) {
    if (!seconds) return otherwise;
    return static_cast<size_t>(std::clamp(*seconds * rate, 0.0, static_cast<double>(all.size())));
  };
  const size_t begin = index(options.from, 0), end = std::max(begin, index(options.to, all.size()));
  const double offset = static_cast<double>(begin) / rate;
  const sound::Analysis a = sound::Analyse(std::span(all).subspan(begin, end - begin), rate, options.analysis);
  std::printf("rate=%d\nfrom_s=%.3f\ntotal_s=%.3f\nnoise_floor_db=%.1f\nthreshold_db=%.1f\nvoiced_s=%.3f\n", rate, offset,
              a.totalSeconds, a.noiseFloorDb, a.thresholdDb, a.voicedSeconds);
  std::printf("rms=%.5f\nrms_db=%.2f\nf0_hz=%.1f\npitched_s=%.3f\n", a.voicedRms,
              a.voicedRms > 0 ? 20 * std::log10(a.voicedRms) : sound::kSilenceDb, a.f0Hz, a.pitchedSeconds);
  if (a.firstVoiced) {
    std::printf("first_voiced_s=%.4f\nlast_voiced_s=%.4f\n", offset + *a.firstVoiced, offset + *a.lastVoiced);
    if (clock) {
      std::printf("first_voiced_ms=%.1f\nlast_voiced_ms=%.1f\n", *clock->HostMs(offset + *a.firstVoiced),
                  *clock->HostMs(offset + *a.lastVoiced));
    }
  } else {
    std::printf("first_voiced_s=\nlast_voiced_s=\n");
  }
  std::printf("gap_ms=%.0f\ngap_count=%zu\ngaps=", options.analysis.gapMs, a.gaps.size());
  for (size_t i = 0; i < a.gaps.size(); ++i) std::printf("%s%.3f+%.3f", i ? " " : "", offset + a.gaps[i].start, a.gaps[i].length);
  std::printf("\n");
  return 0;
}

// For polling while the recording grows: cheap (levels only) and with a fixed threshold.
int Quiet(const std::string& path, int rate, const Options& options) {
  const std::vector<int16_t> all = ReadSamples(path);
  const auto begin = static_cast<size_t>(std::clamp(options.from.value_or(0) * rate, 0.0, static_cast<double>(all.size())));
  const std::span part = std::span(all).subspan(begin);
  const double threshold = options.analysis.thresholdDb.value_or(kQuietDb);
  const std::vector<double> levels = sound::FrameLevels(part, rate);
  const auto loud = std::count_if(levels.begin(), levels.end(), [&](double level) { return level >= threshold; });
  std::printf("quiet_s=%.3f\nheard_s=%.3f\ntotal_s=%.3f\n", sound::TrailingSilence(part, rate, threshold),
              static_cast<double>(loud) * sound::kFrameSeconds, static_cast<double>(all.size()) / rate);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  const std::string command = argv[1];
  if (command == "now") {
    std::printf("%.1f\n", HostMs());
    return 0;
  }
  if (command == "record" && argc == 5) return Record(argv[2], std::atoi(argv[3]), argv[4]);
  if (command == "analyse" && argc >= 4) {
    Options options;
    if (!ParseOptions(argc, argv, 4, &options)) return Usage();
    return Analyse(argv[2], std::atoi(argv[3]), options);
  }
  if (command == "quiet" && argc >= 4) {
    Options options;
    if (!ParseOptions(argc, argv, 4, &options)) return Usage();
    return Quiet(argv[2], std::atoi(argv[3]), options);
  }
  if ((command == "host-ms" || command == "seconds") && argc == 4) {
    const auto clock = ReadClock(argv[2]);
    if (!clock || clock->Empty()) {
      std::fprintf(stderr, "sound_probe: no clock for %s\n", argv[2]);
      return 1;
    }
    const double value = std::atof(argv[3]);
    const auto mapped = command == "host-ms" ? clock->HostMs(value) : clock->Seconds(value);
    std::printf(command == "host-ms" ? "%.1f\n" : "%.4f\n", *mapped);
    return 0;
  }
  return Usage();
}
