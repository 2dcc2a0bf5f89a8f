// The installed instrument's description as a host reads it through lilv: every control port is
// exactly its row of the settings table, so a host offers the window's ranges and defaults.

#include "lv2/port_description.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>

#include "engine/setting_table.h"
#include "tests/lv2_host.h"

namespace sordanel {
namespace {

const std::string kBundle = SORDANEL_LV2_INSTALLED_BUNDLE;

// The URIs the description uses, as nodes of one world.
class Vocabulary {
public:
    explicit Vocabulary(LilvWorld* world) : world_(world) {}
    ~Vocabulary() {
        for (auto& [uri, node] : nodes_) {
            lilv_node_free(node);
        }
    }
    Vocabulary(const Vocabulary&) = delete;
    Vocabulary& operator=(const Vocabulary&) = delete;

    const LilvNode* operator[](const std::string& uri) {
        auto& node = nodes_[uri];
        if (node == nullptr) {
            node = lilv_new_uri(world_, uri.c_str());
        }
        return node;
    }

private:
    LilvWorld* world_;
    std::map<std::string, LilvNode*> nodes_;
};

const std::string kLv2 = "http://lv2plug.in/ns/lv2core#";
const std::string kUnits = "http://lv2plug.in/ns/extensions/units#";
const std::string kPortProps = "http://lv2plug.in/ns/ext/port-props#";

std::string UnitUri(std::string_view unit) {
    if (unit == "s") {
        return kUnits + "s";
    }
    if (unit == "Hz") {
        return kUnits + "hz";
    }
    if (unit == "cents") {
        return kUnits + "cent";
    }
    return unit == "dB" ? kUnits + "db" : "";
}

// Label by value of a port's scale points.
std::map<float, std::string> ScalePoints(const LilvPlugin* plugin, const LilvPort* port) {
    std::map<float, std::string> points;
    LilvScalePoints* all = lilv_port_get_scale_points(plugin, port);
    LILV_FOREACH(scale_points, i, all) {
        const LilvScalePoint* point = lilv_scale_points_get(all, i);
        points[lilv_node_as_float(lilv_scale_point_get_value(point))] =
            lilv_node_as_string(lilv_scale_point_get_label(point));
    }
    lilv_scale_points_free(all);
    return points;
}

TEST(PortDescription, EveryControlPortIsItsRowOfTheSettingsTable) {
    testing::Lv2Host host(kBundle);
    const LilvPlugin* plugin = host.plugin();
    ASSERT_NE(plugin, nullptr) << "no instrument in " << kBundle;
    ASSERT_EQ(lilv_plugin_get_num_ports(plugin), PortCount());
    Vocabulary uri(host.world());
    int ports = 0;
    for (const SettingRow& row : kSettingRows) {
        if (!row.IsPort()) {
            continue;
        }
        ++ports;
        SCOPED_TRACE(std::string(row.port));
        LilvNode* symbol = lilv_new_string(host.world(), std::string(row.port).c_str());
        const LilvPort* port = lilv_plugin_get_port_by_symbol(plugin, symbol);
        lilv_node_free(symbol);
        ASSERT_NE(port, nullptr);
        EXPECT_EQ(lilv_port_get_index(plugin, port), PortIndex(row.id));
        EXPECT_TRUE(lilv_port_is_a(plugin, port, uri[kLv2 + "ControlPort"]));
        EXPECT_TRUE(lilv_port_is_a(plugin, port, uri[kLv2 + "InputPort"]));

        LilvNode* name = lilv_port_get_name(plugin, port);
        EXPECT_EQ(lilv_node_as_string(name), row.label);
        lilv_node_free(name);

        // Exactly the floats the engine uses: a host that sets a port to its end gets the end.
        LilvNode* byDefault = nullptr;
        LilvNode* low = nullptr;
        LilvNode* high = nullptr;
        lilv_port_get_range(plugin, port, &byDefault, &low, &high);
        ASSERT_TRUE(byDefault != nullptr && low != nullptr && high != nullptr);
        EXPECT_EQ(lilv_node_as_float(byDefault), row.PortDefault());
        EXPECT_EQ(lilv_node_as_float(low), row.Low());
        EXPECT_EQ(lilv_node_as_float(high), row.High());
        lilv_node_free(byDefault);
        lilv_node_free(low);
        lilv_node_free(high);

        LilvNodes* units = lilv_port_get_value(plugin, port, uri[kUnits + "unit"]);
        const std::string unit =
            units == nullptr ? "" : lilv_node_as_uri(lilv_nodes_get_first(units));
        EXPECT_EQ(unit, UnitUri(row.unit));
        lilv_nodes_free(units);

        const bool whole = row.kind == SettingKind::Whole || row.kind == SettingKind::Choice ||
                           (row.kind == SettingKind::Listed && row.id != SettingId::VibratoSpeed);
        EXPECT_EQ(lilv_port_has_property(plugin, port, uri[kLv2 + "integer"]), whole);
        EXPECT_EQ(lilv_port_has_property(plugin, port, uri[kLv2 + "toggled"]),
                  row.kind == SettingKind::Toggle);
        EXPECT_EQ(lilv_port_has_property(plugin, port, uri[kLv2 + "enumeration"]),
                  row.kind == SettingKind::Choice || row.kind == SettingKind::Listed);
        EXPECT_EQ(lilv_port_has_property(plugin, port, uri[kPortProps + "logarithmic"]),
                  row.scale == SettingScale::Logarithmic);

        const auto points = ScalePoints(plugin, port);
        if (row.kind == SettingKind::Choice) {
            ASSERT_EQ(points.size(), row.names.size());
            for (std::size_t i = 0; i < row.names.size(); ++i) {
                EXPECT_EQ(points.at(static_cast<float>(i)), row.names[i]);
            }
        } else if (row.kind == SettingKind::Listed) {
            ASSERT_EQ(points.size(), row.listedCount);
            for (std::size_t i = 0; i < row.listedCount; ++i) {
                EXPECT_EQ(points.count(row.listedAt(i)), 1u) << row.listedAt(i);
            }
        } else {
            EXPECT_TRUE(points.empty());
        }
    }
    EXPECT_EQ(ports + 2, static_cast<int>(PortCount()));
}

TEST(PortDescription, NumbersReadBackAsTheSameFloat) {
    for (const float value : {0.350905985f, 1.5648078f, 0.00025129592f, 0.049999982f, 0.65000004f,
                              -10.0f, 1500.0f, 0.0f, 1e-7f}) {
        const std::string text = lv2::TurtleNumber(value);
        EXPECT_EQ(std::strtof(text.c_str(), nullptr), value) << text;
        EXPECT_EQ(text.find_first_of("eE"), std::string::npos)
            << text << ": the description's numbers are plain decimals";
    }
}

}  // namespace
}  // namespace sordanel
