// The simulator's built-in records.

#include <initializer_list>

#include "SimulatorRecords.h"

namespace leeb {
namespace {

enum Direction : int { Down = 0, Down45 = 1, Horizontal = 2, Up45 = 3, Up = 4 };
enum Device : int { D = 0, DC = 1, DL = 2, D15 = 3, G = 4, E = 5, C = 6 };

uint16_t Hardness(int direction, int device, int material, int scaleCode) {
    return static_cast<uint16_t>(direction | (device << 4) | (material << 8) | (scaleCode << 12));
}

uint16_t Strength(int direction, int device, int material) {
    return static_cast<uint16_t>(direction | (1 << 3) | (device << 4) | (material << 8));
}

uint16_t Date(int year, int month, int day) {
    return static_cast<uint16_t>((year - 2000) | (month << 7) | (day << 11));
}

SimulatedRecord Make(int number, uint16_t settings, uint16_t date,
                     std::initializer_list<uint16_t> readings) {
    SimulatedRecord record;
    record.Number = number;
    record.Record.SettingsWord = settings;
    record.Record.DateWord = date;
    record.Record.ImpactCount = static_cast<uint16_t>(readings.size());
    std::size_t k = 0;
    for (uint16_t reading : readings) {
        record.Record.Readings[k++] = reading;
    }
    return record;
}

}  // namespace

SimulatorRecordSet SampleSimulatorRecords() {
    SimulatorRecordSet set;
    auto& r = set.Records;
    // Steel and cast steel, HL, straight down.
    r.push_back(Make(1, Hardness(Down, D, 0, 0), Date(2025, 3, 14), {452, 458, 449, 461, 455}));
    // Steel, HRC in tenths, one reading lost by the tester (0).
    r.push_back(
        Make(2, Hardness(Down45, D, 0, 3), Date(2025, 3, 14), {452, 453, 448, 455, 451, 0}));
    // Alloy tool steel, HV, device DC.
    r.push_back(Make(3, Hardness(Horizontal, DC, 1, 1), Date(2025, 4, 2), {612, 620, 615, 608}));
    // Stainless steel, HB, device DL.
    r.push_back(
        Make(4, Hardness(Up45, DL, 2, 2), Date(2025, 4, 2), {201, 198, 205, 203, 199, 200}));
    // Grey cast iron, HB, device D+15.
    r.push_back(Make(5, Hardness(Up, D15, 3, 1), Date(2025, 5, 20), {180, 185, 182}));
    // Strength mode, low-carbon steel.
    r.push_back(Make(6, Strength(Down, D, 0), Date(2025, 5, 21), {420, 425, 430}));
    // Steel, HS in tenths, device G.
    r.push_back(Make(7, Hardness(Horizontal, G, 0, 4), Date(2025, 6, 1), {654, 660, 648, 657}));
    // Cast aluminium alloy, HRB in tenths, device E.
    r.push_back(Make(8, Hardness(Down, E, 5, 2), Date(2025, 6, 9), {752, 760, 748}));
    // Steel, HRA in tenths, device C.
    r.push_back(Make(9, Hardness(Down45, C, 0, 6), Date(2025, 7, 11), {701, 705, 699, 703, 702}));
    // Strength mode, stainless steel, device DC.
    r.push_back(Make(10, Strength(Horizontal, DC, 9), Date(2025, 8, 30), {560, 565, 570, 555}));
    // Nodular cast iron, HL, a full record of 32 impacts.
    r.push_back(
        Make(11, Hardness(Up45, D, 4, 0), Date(2025, 9, 3),
             {512, 515, 509, 520, 518, 511, 514, 516, 510, 519, 513, 517, 508, 521, 512, 515,
              514, 511, 518, 516, 509, 513, 517, 512, 520, 510, 515, 514, 519, 511, 516, 513}));
    // Forged steel, HB, device G, one reading lost.
    r.push_back(Make(12, Hardness(Up, G, 9, 1), Date(2025, 10, 17), {240, 245, 0, 238}));
    // Copper-zinc alloy, HRB in tenths.
    r.push_back(Make(13, Hardness(Down45, D, 6, 2), Date(2026, 1, 8), {552, 560, 548}));
    // Alloy tool steel: scale code 2 is HRC for this material.
    r.push_back(Make(14, Hardness(Down, D, 1, 2), Date(2026, 2, 26), {612, 618}));
    return set;
}

}  // namespace leeb
