// The report's lines: a target with its measured value, its goal and pass or FAIL, and notes.
#pragma once

#include <cstdio>
#include <string>

namespace packreport {

class Printer {
  public:
    explicit Printer(std::FILE* out) : out_(out) {}
    void section(const char* title) { std::fprintf(out_, "\n%s\n", title); }
    void target(const std::string& name, const std::string& measured, const std::string& goal,
                bool met) {
        allMet_ = allMet_ && met;
        std::fprintf(out_, "  %-58s %-22s %-14s %s\n", name.c_str(), measured.c_str(), goal.c_str(),
                     met ? "pass" : "FAIL");
    }
    void note(const std::string& text) { std::fprintf(out_, "      %s\n", text.c_str()); }
    bool allMet() const { return allMet_; }
    std::FILE* out() const { return out_; }

  private:
    std::FILE* out_;
    bool allMet_ = true;
};

inline std::string Format(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

}  // namespace packreport
