#include "core/model/calculator_profile.h"

namespace core {

const CalculatorProfile& CalculatorProfile::dotwell() {
    static const CalculatorProfile profile{
        .program = Program::Dotwell,
        .appName = "Dotwell",
        .appTitle = "Dotwell 2.6",
        .rows = 63,
        .columns = 96,
        .cellFill = 0.8,
        .circleVerticalDivisor = 0.92,
        .ellipseVerticalFactor = 1.15,
        .previewCircleAspect = 0.95,
        .defaultZoom = 7,
        .importScansOnePast = false,
        .importRowCentre = 31,
        .importColumnCentre = 47,
        .importLargeRows = 63,
        .importLargeColumns = 96,
        .importToolbarOnNo = true,
    };
    return profile;
}

const CalculatorProfile& CalculatorProfile::pixvane() {
    static const CalculatorProfile profile{
        .program = Program::Pixvane,
        .appName = "Pixvane",
        .appTitle = "Pixvane 2.6",
        .rows = 103,
        .columns = 240,
        .cellFill = 0.8,
        .circleVerticalDivisor = 1.0,
        .ellipseVerticalFactor = 1.0,
        .previewCircleAspect = 1.0,
        .defaultZoom = 4,
        .importScansOnePast = true,
        .importRowCentre = 51,
        .importColumnCentre = 120,
        .importLargeRows = 104,
        .importLargeColumns = 240,
        .importToolbarOnNo = false,
    };
    return profile;
}

} // namespace core
