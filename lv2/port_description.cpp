#include "lv2/port_description.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "engine/setting_table.h"

namespace sordanel::lv2 {

namespace {

std::string UnitOf(std::string_view unit) {
    if (unit == "s") {
        return "units:s";
    }
    if (unit == "Hz") {
        return "units:hz";
    }
    if (unit == "cents") {
        return "units:cent";
    }
    if (unit == "dB") {
        return "units:db";
    }
    return {};
}

bool Whole(float value) {
    return std::trunc(value) == value;
}

bool AllListedWhole(const SettingRow& row) {
    for (std::size_t i = 0; i < row.listedCount; ++i) {
        if (!Whole(row.listedAt(i))) {
            return false;
        }
    }
    return true;
}

std::string Quoted(std::string_view text) {
    std::string quoted = "\"";
    return quoted.append(text).append("\"");
}

std::string ScalePoint(std::string_view label, float value) {
    return "[ rdfs:label " + Quoted(label) + " ; rdf:value " + TurtleNumber(value) + " ]";
}

// The labels of a listed setting's offered numbers, in its unit: "9.0 Hz", "20 Hz".
std::string ListedLabel(const SettingRow& row, float value, bool whole) {
    char text[32];
    std::snprintf(text, sizeof text, whole ? "%.0f %s" : "%.1f %s", double{value},
                  std::string(row.unit).c_str());
    return text;
}

std::string ScalePoints(const SettingRow& row) {
    std::string points;
    const auto add = [&points](const std::string& point) {
        if (!points.empty()) {
            points.append(" ,\n            ");
        }
        points.append(point);
    };
    if (row.kind == SettingKind::Choice) {
        for (std::size_t i = 0; i < row.names.size(); ++i) {
            add(ScalePoint(row.names[i], static_cast<float>(i)));
        }
    } else if (row.kind == SettingKind::Listed) {
        const bool whole = AllListedWhole(row);
        for (std::size_t i = 0; i < row.listedCount; ++i) {
            add(ScalePoint(ListedLabel(row, row.listedAt(i), whole), row.listedAt(i)));
        }
    }
    return points;
}

std::string Properties(const SettingRow& row) {
    std::string properties;
    const auto add = [&properties](std::string_view property) {
        if (!properties.empty()) {
            properties.append(", ");
        }
        properties.append(property);
    };
    const bool whole = row.kind == SettingKind::Whole || row.kind == SettingKind::Choice ||
                       (row.kind == SettingKind::Listed && AllListedWhole(row));
    if (row.kind == SettingKind::Toggle) {
        add("lv2:toggled");
    } else if (whole) {
        add("lv2:integer");
    }
    if (row.kind == SettingKind::Choice || row.kind == SettingKind::Listed) {
        add("lv2:enumeration");
    }
    if (row.scale == SettingScale::Logarithmic) {
        add("pprops:logarithmic");
    }
    return properties;
}

std::string Describe(const SettingRow& row) {
    std::string port = "    ] , [\n        a lv2:InputPort, lv2:ControlPort ;\n";
    const auto line = [&port](std::string_view predicate, const std::string& object) {
        port.append("        ").append(predicate).append(" ").append(object).append(" ;\n");
    };
    line("lv2:index", std::to_string(PortIndex(row.id)));
    line("lv2:symbol", Quoted(row.port));
    line("lv2:name", Quoted(row.label));
    line("lv2:default", TurtleNumber(row.PortDefault()));
    line("lv2:minimum", TurtleNumber(row.Low()));
    line("lv2:maximum", TurtleNumber(row.High()));
    if (const std::string unit = UnitOf(row.unit); !unit.empty()) {
        line("units:unit", unit);
    }
    if (const std::string properties = Properties(row); !properties.empty()) {
        line("lv2:portProperty", properties);
    }
    if (const std::string points = ScalePoints(row); !points.empty()) {
        line("lv2:scalePoint", points);
    }
    // The last statement of an entry ends without " ;".
    port.erase(port.size() - 3);
    return port + "\n";
}

}  // namespace

std::string TurtleNumber(float value) {
    // The shortest plain decimal that reads back as the same float.
    char text[64];
    const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed).ptr;
    return std::string(text, end);
}

std::string DescribeControlPorts() {
    std::string ports;
    for (const SettingRow& row : kSettingRows) {
        if (row.IsPort()) {
            ports += Describe(row);
        }
    }
    // The template closes the last entry.
    ports.erase(ports.size() - 1);
    return ports;
}

}  // namespace sordanel::lv2
