#include "cli/option_parser.h"

#include <algorithm>
#include <utility>

#include "cli/option_values.h"

namespace sordanel {

namespace {

constexpr std::size_t kHelpWidth = 79;
constexpr std::size_t kDescriptionColumn = 26;

// `text` broken into lines of at most `width` characters at spaces, each indented by `indent`.
std::string Wrapped(const std::string& text, std::size_t indent, std::size_t width) {
    std::string out;
    std::string line;
    std::size_t start = 0;
    while (start < text.size()) {
        const auto space = std::min(text.find(' ', start), text.size());
        const std::string word = text.substr(start, space - start);
        if (!line.empty() && indent + line.size() + 1 + word.size() > width) {
            out.append(indent, ' ').append(line).append("\n");
            line.clear();
        }
        AppendToList(line, word, " ");
        start = space + 1;
    }
    if (!line.empty()) {
        out.append(indent, ' ').append(line).append("\n");
    }
    return out;
}

std::string Joined(const std::vector<std::string>& names) {
    std::string joined;
    for (const std::string& name : names) {
        AppendToList(joined, name);
    }
    return joined;
}

}  // namespace

OptionParser::OptionParser(std::string program, std::string about, std::string footer)
    : program_(std::move(program)), about_(std::move(about)), footer_(std::move(footer)) {}

void OptionParser::Heading(std::string title) {
    lines_.push_back({std::move(title), 0});
}

void OptionParser::Add(OptionSpec spec) {
    lines_.push_back({"", entries_.size()});
    entries_.push_back({std::move(spec), {}, {}, 0});
}

void OptionParser::Excludes(const std::string& name, const std::string& other) {
    Named(name).excludes.push_back(other);
    Named(other).excludes.push_back(name);
}

void OptionParser::Needs(const std::string& name, const std::string& other) {
    Named(name).needs.push_back(other);
}

OptionParser::Entry* OptionParser::Find(std::string_view name) {
    for (Entry& entry : entries_) {
        if (entry.spec.name == name ||
            (!entry.spec.shortName.empty() && entry.spec.shortName == name)) {
            return &entry;
        }
    }
    return nullptr;
}

const OptionParser::Entry* OptionParser::Find(std::string_view name) const {
    return const_cast<OptionParser*>(this)->Find(name);
}

OptionParser::Entry& OptionParser::Named(const std::string& name) {
    Entry* entry = Find(name);
    if (entry == nullptr) {
        throw std::logic_error("no option " + name);
    }
    return *entry;
}

OptionParser::Outcome OptionParser::Parse(int argc, const char* const* argv) {
    const std::vector<std::string> args(argv + std::min(argc, 1), argv + std::max(argc, 1));
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            return Outcome::Help;
        }
        if (arg == "--version") {
            return Outcome::Version;
        }
    }

    // Every option and its value first, so that an unknown name or a missing value is told
    // before any value is judged.
    std::vector<std::pair<Entry*, std::string>> given;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        std::string name = arg;
        std::string value;
        bool hasValue = false;
        if (arg.rfind("--", 0) == 0) {
            if (const auto equals = arg.find('='); equals != std::string::npos) {
                name = arg.substr(0, equals);
                value = arg.substr(equals + 1);
                hasValue = true;
            }
        } else if (arg.size() > 2 && arg[0] == '-' && arg[1] != '-') {
            name = arg.substr(0, 2);
            value = arg.substr(2);
            hasValue = true;
        } else if (arg.empty() || arg[0] != '-') {
            throw UsageError("the argument \"" + arg + "\" belongs to no option", true);
        }
        Entry* entry = Find(name);
        if (entry == nullptr) {
            throw UsageError("unknown option " + name, true);
        }
        const OptionSpec& spec = entry->spec;
        if (spec.valueName.empty() && hasValue) {
            throw UsageError(spec.name + " takes no value");
        }
        if (!spec.valueName.empty() && !hasValue) {
            if (i + 1 >= args.size()) {
                throw UsageError(spec.name + " needs a value: " + spec.valueName);
            }
            value = args[++i];
        }
        if (++entry->count > 1 && !spec.repeatable) {
            throw UsageError(spec.name + " is given more than once");
        }
        given.emplace_back(entry, value);
    }

    // In the order given, so the message names the pair as the user wrote it.
    for (const auto& [entry, value] : given) {
        for (const std::string& other : entry->excludes) {
            if (Count(other) > 0) {
                throw UsageError(entry->spec.name + " excludes " + other);
            }
        }
        for (const std::string& other : entry->needs) {
            if (Count(other) == 0) {
                throw UsageError(entry->spec.name + " requires " + other);
            }
        }
    }
    for (auto& [entry, value] : given) {
        entry->spec.take(value);
    }
    for (const Entry& entry : entries_) {
        if (entry.spec.required && entry.count == 0) {
            throw UsageError(entry.spec.name + " is required");
        }
    }
    return Outcome::Run;
}

std::size_t OptionParser::Count(std::string_view name) const {
    const Entry* entry = Find(name);
    return entry == nullptr ? 0 : entry->count;
}

std::string OptionParser::Help() const {
    std::string help = "Usage: " + program_ + " [OPTIONS]\n\n" + Wrapped(about_, 0, kHelpWidth);
    for (const Line& line : lines_) {
        if (!line.heading.empty()) {
            help.append("\n").append(line.heading).append(":\n");
            continue;
        }
        const Entry& entry = entries_[line.entry];
        const OptionSpec& spec = entry.spec;
        std::string names = "  ";
        if (!spec.shortName.empty()) {
            names.append(spec.shortName).append(", ");
        }
        names.append(spec.name);
        if (!spec.valueName.empty()) {
            names.append(" ").append(spec.valueName);
        }
        std::string values = spec.values;
        if (!spec.defaultText.empty()) {
            AppendToList(values, "default " + spec.defaultText);
        }
        if (spec.required) {
            AppendToList(values, "required");
        }
        if (spec.repeatable) {
            AppendToList(values, "may be repeated", "; ");
        }
        // What it admits and its default come first, then what it does; a flag has only that.
        std::string text = Wrapped(values, kDescriptionColumn, kHelpWidth) +
                           Wrapped(spec.help, kDescriptionColumn, kHelpWidth);
        if (names.size() + 2 <= kDescriptionColumn) {
            help += names + text.substr(names.size());
        } else {
            help += names + "\n" + text;
        }
        if (!entry.excludes.empty()) {
            help += Wrapped("Excludes: " + Joined(entry.excludes), kDescriptionColumn, kHelpWidth);
        }
        if (!entry.needs.empty()) {
            help += Wrapped("Needs: " + Joined(entry.needs), kDescriptionColumn, kHelpWidth);
        }
    }
    if (!footer_.empty()) {
        help.append("\n").append(Wrapped(footer_, 0, kHelpWidth));
    }
    return help;
}

}  // namespace sordanel
