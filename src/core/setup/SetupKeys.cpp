#include "core/setup/SetupKeys.h"

#include "core/store/TimeBase.h"

namespace vk::setup {

namespace {

constexpr int64_t NoLimit = std::numeric_limits<int64_t>::max();

template <auto Member>
Key Chan(std::string_view name, int64_t lo = -NoLimit, int64_t hi = NoLimit)
{
    return Key{name, [](Target& t, int slot, int) { return FieldRefs{&(t.desc[slot].*Member)}; }, lo, hi};
}

template <auto Member>
Key ChanLetter(std::string_view name)
{
    return Key{name, [](Target& t, int slot, int) { return FieldRefs{LetterFlag{&(t.desc[slot].*Member)}}; }};
}

template <auto Member>
Key ChanNumber(std::string_view name)
{
    return Key{name, [](Target& t, int slot, int) { return FieldRefs{NumberFlag{&(t.desc[slot].*Member)}}; }, 0, 1};
}

// Written only for a channel whose lines carry their times, so that every
// other setup file stays as it was.
template <auto Member>
Key TimeKey(std::string_view name, int64_t lo, int64_t hi)
{
    Key key = Chan<Member>(name, lo, hi);
    key.written = [](const Target& t, int slot, int) { return t.desc[slot].TimeColumn > 0; };
    return key;
}

// The interval where whole milliseconds do not hold it, written only then.
Key ExactInterval()
{
    Key key = Chan<&ChannelDescriptor::exactInterval>("ExactInterval");
    key.written = [](const Target& t, int slot, int) { return t.desc[slot].exactInterval > 0; };
    return key;
}

// A drawing style the user chose, written only then: every other setup
// leaves the depth channel to be drawn downwards at Start.
Key StyleChosen()
{
    Key key = Chan<&ChannelDescriptor::styleChosen>("StyleChosen", 0, 1);
    key.written = [](const Target& t, int slot, int) { return t.desc[slot].styleChosen; };
    return key;
}

// The sensor of a tag archive, written only for such a channel.
Key ArchiveVariable()
{
    Key key = Chan<&ChannelDescriptor::archiveVariable>("Variable");
    key.written = [](const Target& t, int slot, int) { return t.desc[slot].format == ChannelFormat::Archive; };
    return key;
}

template <auto Member>
Key Glob(std::string_view name, int64_t lo = -NoLimit, int64_t hi = NoLimit)
{
    return Key{name, [](Target& t, int, int) { return FieldRefs{&(t.settings.*Member)}; }, lo, hi};
}

template <auto Part, auto Member>
Key Nested(std::string_view name, int64_t lo = -NoLimit, int64_t hi = NoLimit)
{
    return Key{name, [](Target& t, int, int) { return FieldRefs{&(t.settings.*Part.*Member)}; }, lo, hi};
}

template <auto Member>
Key Dive(std::string_view name, int64_t lo = -NoLimit, int64_t hi = NoLimit)
{
    return Nested<&Settings::dive, Member>(name, lo, hi);
}

template <auto Member>
Key ExtRow(std::string_view name)
{
    return Key{name, [](Target& t, int row, int) {
                   return FieldRefs{&(t.settings.dive.ExtendedParameters[row - 1].*Member)};
               }};
}

Key LongText(Key key)
{
    key.longText = true;
    return key;
}

std::vector<Group> MakeGroups()
{
    using D = ChannelDescriptor;
    using P = DiveParameters;
    using S = Settings;

    Key startTime = Chan<&D::StartTime>("StartTime");
    Key style = Chan<&D::GrRepr>("GrRepr");
    startTime.suffix = [](const Target& t, int slot, int) {
        return " (" + FormatDateTime(t.desc[slot].StartTime, t.settings.DateSep) + ")";
    };
    Key colour{"Color", [](Target& t, int row, int) { return FieldRefs{&t.settings.colours.values[row]}; }};
    colour.suffix = [](const Target&, int row, int) { return std::string(ColourName(row)); };
    Key subsid{"subsidline", [](Target& t, int slot, int line) {
                   SubsidiaryLine& l = t.settings.subsidiaryLines[slot][line];
                   return FieldRefs{&l.value, &l.flag};
               }};
    Key nameOut{"NameOutFile", [](Target& t, int slot, int) { return FieldRefs{&t.settings.NameOutFile[slot]}; }};

    // A table laid out by hand.
    // clang-format off
    return {
        {Index::Slot,
         {LongText(Chan<&D::NameIn>("NameIn")), Chan<&D::Caption>("Caption"), Chan<&D::SampRate>("SampRate"),
          Chan<&D::DataCnt>("DataCnt"), startTime, Chan<&D::EndTime>("EndTime"), Chan<&D::SmpDelay>("SmpDelay"),
          Chan<&D::CorrSmpDelay>("CorrSmpDelay"), style, Chan<&D::format>("ToCreate", 0, 3),
          Chan<&D::Min>("Min"), Chan<&D::Max>("Max"), Chan<&D::CoeffA>("CoeffA"), Chan<&D::CoeffB>("CoeffB"),
          Chan<&D::CoeffC>("CoeffC"), Chan<&D::UsrCoeffA>("UsrCoeffA"), Chan<&D::UsrCoeffB>("UsrCoeffB"),
          Chan<&D::LowRng>("LowRng"), Chan<&D::HighRng>("HighRng"), Chan<&D::yOffset>("yOffset"),
          Chan<&D::WndSze>("WndSze", 0, 10), Chan<&D::LenF8F9>("LenF8F9", 0, 9), Chan<&D::PosF8F9>("PosF8F9", 0, 9),
          Chan<&D::KindEqu>("KindEqu"), Chan<&D::ColumnValue>("ColumnValue", 0), Chan<&D::HeaderText>("HeaderText", 0),
          Chan<&D::InDelimiter>("InDelimiter"), ChanLetter<&D::AutoScaling>("AutoScaling"),
          ChanNumber<&D::Derivation>("Derivation"), Chan<&D::GridDist>("GridDist"), Chan<&D::RunMean>("RunMean"),
          Chan<&D::IgnoreEmpLine>("IgnoreEmpLine"), Chan<&D::Poly_A>("Poly_A"), Chan<&D::Poly_B>("Poly_B"),
          Chan<&D::Poly_C>("Poly_C"), Chan<&D::Poly_D>("Poly_D"), Chan<&D::Poly_E>("Poly_E"),
          Chan<&D::Poly_F>("Poly_F"), Chan<&D::Poly_G>("Poly_G"), Chan<&D::Poly_H>("Poly_H"),
          Chan<&D::Poly_I>("Poly_I"), Chan<&D::Poly_J>("Poly_J"), Chan<&D::Poly_K>("Poly_K"),
          ChanNumber<&D::bSet>("bSet"), ChanNumber<&D::bApplyPolynom>("bApplyPolynom"),
          TimeKey<&D::TimeColumn>("TimeColumn", 0, NoLimit), TimeKey<&D::DateColumn>("DateColumn", 0, NoLimit),
          TimeKey<&D::dateOrder>("DateOrder", 0, 3), ExactInterval(), ArchiveVariable(), StyleChosen()}},
        {Index::None,
         {Glob<&S::Cmt1>("Cmt1"), Glob<&S::Cmt2>("Cmt2"), Nested<&S::skip, &SkipStrings::Skip1Enbld>("Skip1Enbld"),
          Nested<&S::skip, &SkipStrings::Skip1Str>("Skip1Str"),
          Nested<&S::skip, &SkipStrings::Skip2Enbld>("Skip2Enbld"),
          Nested<&S::skip, &SkipStrings::Skip2Str>("Skip2Str"),
          Nested<&S::thumbnails, &ThumbnailSettings::Thumbnail>("Thumbnail"),
          Nested<&S::thumbnails, &ThumbnailSettings::TN_date>("TN_date"),
          Nested<&S::thumbnails, &ThumbnailSettings::TN_time>("TN_time"),
          Nested<&S::thumbnails, &ThumbnailSettings::TN_nr>("TN_nr"),
          Nested<&S::thumbnails, &ThumbnailSettings::TN_shape>("TN_shape"),
          Nested<&S::thumbnails, &ThumbnailSettings::ThumbnailWidth>("ThumbnailWidth", 0, 200),
          Nested<&S::thumbnails, &ThumbnailSettings::ThumbnailHeight>("ThumbnailHeight", 0, 100)}},
        {Index::ColourRow, {colour}},
        {Index::None,
         {Nested<&S::coordinates, &Coordinates::StartCoordLon>("StartCoordLon"),
          Nested<&S::coordinates, &Coordinates::StartCoordLat>("StartCoordLat"),
          Nested<&S::coordinates, &Coordinates::EndCoordLon>("EndCoordLon"),
          Nested<&S::coordinates, &Coordinates::EndCoordLat>("EndCoordLat"), Glob<&S::GraphFont>("GraphFont"),
          Glob<&S::GraphFontSize>("GraphFontSize", 1, 200), Glob<&S::FrequSensibility>("FrequSensibility"),
          Nested<&S::flatBaseline, &FlatBaselineSettings::FlatWaves>("HiPaKind", 0, 2),
          Nested<&S::flatBaseline, &FlatBaselineSettings::FlatBelowThreshold>("HiPaIsThr"),
          Nested<&S::flatBaseline, &FlatBaselineSettings::FlatStrength>("HiPaGradCubeRoot", 0, 32),
          Nested<&S::compensation, &CompensationSettings::CompAmplitude>("CompIner.ampl"),
          Nested<&S::compensation, &CompensationSettings::CompThreshold>("CompIner.thr"),
          Nested<&S::compensation, &CompensationSettings::CompStartDepth>("CompIner.StDepth"),
          Nested<&S::compensation, &CompensationSettings::CompSurfaceReference>("CompIner.RefSurf"),
          Nested<&S::compensation, &CompensationSettings::CompZeroReference>("CompIner.RefZero"),
          Nested<&S::compensation, &CompensationSettings::CompInvertPreview>("CompIner.PlotInv"),
          Dive<&P::Threshold>("Dive Threshold"), Dive<&P::TimeBelow>("Dive TmeBlw"),
          Dive<&P::TimeAbove>("Dive TmeAbv"), Dive<&P::Level>("Dive Level"), Dive<&P::SlopEoD>("Dive Slope"),
          Dive<&P::ThrBott>("Dive BotThr"), Dive<&P::SlopBoB>("Dive BotSlope"),
          Dive<&P::RelBottSurf>("Dive BotRelSurf"), Dive<&P::FloatWindow>("Dive Float", 0, 1),
          Dive<&P::AdjustYSize>("Dive AdjustYsize", 0, 1), Dive<&P::WindowSize>("Dive WndPnts"),
          Dive<&P::SearchNextOff>("Dive SearchNext", 0, 1), Dive<&P::BoutIntermediate>("Dive BoutIntermediate"),
          Dive<&P::BoutMinDur>("Dive BoutMinDur"), Dive<&P::WiggAmplitude>("Dive ZZAmpl"),
          Dive<&P::WiggDuration>("Dive ZZDur"), Dive<&P::WiggMethod>("Dive WiggMethod", 0, 2),
          Dive<&P::WiggRelPreceding>("Dive ZZRelPreddec"), Dive<&P::MinDiveDuration>("Dive MinDiveDur", 0),
          Dive<&P::LenRest>("Dive LenRest", 1), Dive<&P::TrekBaseline>("Dive TrekBase", 0, 1),
          Dive<&P::BottomKind>("Dive FixBott", 0, 3), Dive<&P::MakeImages>("MakeImages", 0, 1),
          Dive<&P::NrBins>("Dive NrBins", 1, MaxDepthBins), Dive<&P::MinBin>("Dive MinBin"),
          Dive<&P::MaxBin>("Dive MaxBin"), Dive<&P::Frequencies>("Dive IsFrequencies", 0, 1),
          Dive<&P::WaterTemp>("Dive IsWaterTemp", 0, 1), Dive<&P::DiveStops>("Dive IsDiveStop", 0, 1),
          Dive<&P::EndDiveValid>("Dive IsEndDiveValid", 0, 1), Dive<&P::SpeedAnalysis>("Dive IsSpeedAna", 0, 1),
          Dive<&P::AbsDifferences>("Dive IsAbsDiff", 0, 1), Dive<&P::BurnishDives>("Dive IsBurnDives", 0, 1),
          Dive<&P::AutoDive>("Dive IsAutoDive", 0, 1), Dive<&P::AutoGradient>("Dive IsAutoGrad", 0, 1),
          Dive<&P::YFormFactor>("Dive yFormFak"), Dive<&P::YFormDivision>("Dive yFormTeilung"),
          Dive<&P::WShapeHeight>("Dive WshapeHeight"), Dive<&P::LShapeParm>("Dive LShapeParm"),
          Dive<&P::ParabolaHeight>("Dive ParabelShapeHeight"), Dive<&P::WiggDefPercent>("Dive WiggDefPercents"),
          Glob<&S::SpeedChannel>("Dive Channel Speed", 0, 2), Dive<&P::SurroundMaxDepth>("Dive lTmMxDpth"),
          Dive<&P::StopGradient>("Dive StopGrad"), Dive<&P::StopLength1>("Dive StopDist"),
          Dive<&P::StopMinDuration>("Dive StopLen")}},
        {Index::ExtendedRow,
         {ExtRow<&ExtendedParameterRow::operation>("ExDivParOperation"),
          ExtRow<&ExtendedParameterRow::channel>("ExDivParChannel"),
          ExtRow<&ExtendedParameterRow::section>("ExDivParSection"),
          ExtRow<&ExtendedParameterRow::enabled>("ExDivParEnabled")}},
        {Index::None,
         {Dive<&P::Criterion>("Dive Criterion", 0, 4), Glob<&S::CommSampInterval>("Comm.SampInterval"),
          LongText(Glob<&S::StatisticsFile>("name_out_file")), Glob<&S::MyVk>("MyVk")}},
        {Index::Slot, {LongText(nameOut)}},
        {Index::None,
         {Glob<&S::OutDlmt>("OutDlmt"), Glob<&S::DateSep>("DateSep"), Glob<&S::AltNullmbar>("AltNullmbar")}},
        {Index::SlotAndLine, {subsid}},
    };
    // clang-format on
}

}  // namespace

const std::vector<Group>& Groups()
{
    static const std::vector<Group> groups = MakeGroups();
    return groups;
}

IndexRange RangeOf(Index index)
{
    switch (index) {
    case Index::None: return {0, {0, 0}, {0, 0}};
    case Index::Slot: return {1, {0, 0}, {2, 0}};
    case Index::ColourRow: return {1, {0, 0}, {ColourCount - 1, 0}};
    case Index::ExtendedRow: return {1, {1, 0}, {ExtendedRowCount, 0}};
    case Index::SlotAndLine: return {2, {0, 0}, {2, SubsidiaryLineCount - 1}};
    }
    return {0, {0, 0}, {0, 0}};
}

}  // namespace vk::setup
