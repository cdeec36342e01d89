#pragma once
// One row of the benchmark table (tools/bench/table.sh). Every benchmark program
// prints its own lines for a reader and, through Row, the lines the table is made
// of: a figure, the baseline measured in the same run, their ratio and the goal.
//   @row|<what>|<figure>|<baseline>|<baseline figure>|<ratio>|<goal>|<met>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace bench {

enum class Goal {
    TimesFaster,   // the baseline takes at least `limit` times as long as the figure
    AtMostTimes,   // the figure is at most `limit` times the baseline
    AtMostMs,      // the figure is at most `limit` ms; the baseline is for comparison only
};

// The median of a series of timings (the upper one of an even count).
inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

inline std::string Ms(double ms) {
    char text[32];
    std::snprintf(text, sizeof text, ms < 10 ? "%.2f ms" : ms < 1000 ? "%.1f ms" : "%.0f ms", ms);
    return text;
}

// A row whose cells are text already (the soak's counters, for one); "-" for an empty cell.
inline void TextRow(const std::string& what, const std::string& figure, const std::string& baseline,
                    const std::string& baselineFigure, const std::string& ratio,
                    const std::string& goal, bool met) {
    auto cell = [](const std::string& s) { return s.empty() ? "-" : s.c_str(); };
    std::printf("@row|%s|%s|%s|%s|%s|%s|%s\n", cell(what), cell(figure), cell(baseline),
                cell(baselineFigure), cell(ratio), cell(goal), met ? "yes" : "NO");
    std::fflush(stdout);
}

// `baseline` may be empty (and `baselineMs` then ignored) for an AtMostMs goal.
inline void Row(const std::string& what, double ms, const std::string& baseline, double baselineMs,
                Goal goal, double limit) {
    char ratio[48] = "", target[48] = "";
    bool met = false;
    switch (goal) {
        case Goal::TimesFaster:
            std::snprintf(ratio, sizeof ratio, "%.0fx faster", baselineMs / ms);
            std::snprintf(target, sizeof target, ">= %gx faster", limit);
            met = baselineMs >= limit * ms;
            break;
        case Goal::AtMostTimes:
            std::snprintf(ratio, sizeof ratio, "%.2fx", ms / baselineMs);
            std::snprintf(target, sizeof target, "<= %gx", limit);
            met = ms <= limit * baselineMs;
            break;
        case Goal::AtMostMs:
            if (!baseline.empty())
                std::snprintf(ratio, sizeof ratio, "%.2fx", ms / baselineMs);
            std::snprintf(target, sizeof target, "<= %g ms", limit);
            met = ms <= limit;
            break;
    }
    TextRow(what, Ms(ms), baseline, baseline.empty() ? "" : Ms(baselineMs), ratio, target, met);
}

}  // namespace bench
