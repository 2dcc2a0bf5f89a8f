#pragma once

#include <string>

namespace sordanel::lv2 {

// The instrument's control ports in Turtle, one `lv2:port` entry each, made from the settings
// table: index, symbol, name, default, range, unit, scale points and properties. The entries
// follow the plugin's first two ports and are separated as an object list continues.
std::string DescribeControlPorts();

// A number as the port description gives it: the shortest plain decimal that reads back as the
// same float ("20", "0.35090598").
std::string TurtleNumber(float value);

}  // namespace sordanel::lv2
