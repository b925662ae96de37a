#include "HardwareTextSample.h"

#include <array>
#include <cstdio>

namespace {

constexpr int kFrequencies = 5;
constexpr int kChips = 4;
constexpr int kKeyAreas = 48;
constexpr int kRegisterFieldsPerGroup = 80;
constexpr std::array<const char*, 6> kGroups{"Noise", "WLRx", "WLTx", "Img", "VKey", "Rsv"};

std::string Format(const char* format, int a, const char* b = "") {
    char text[128];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
}

class SampleWriter {
  public:
    explicit SampleWriter(const std::string& path) : m_file(path) {}

    bool Open() { return m_file.OpenWrite(); }
    bool Close() { return m_file.Close(); }
    std::vector<SampleKey> TakeKeys() { return std::move(m_keys); }

    void Section(const std::string& name) {
        if (!m_section.empty()) {
            m_file.WriteLine("", kLevelDetail);
        }
        m_section = name;
        m_file.WriteLine("[" + name + "]", kLevelDetail);
    }

    void Item(const std::string& key, std::int32_t max, const char* comment = "") {
        std::int32_t value = static_cast<std::int32_t>(m_keys.size() * 7 % (max + 1));
        m_file.WriteRangedItem(value, 0, 0, max, kLevelDetail, m_section, key, comment);
        m_keys.push_back({m_section, key, value});
    }

  private:
    CParamFile m_file;
    std::string m_section;
    std::vector<SampleKey> m_keys;
};

void WriteHead(SampleWriter& w) {
    w.Section("K7P100 hardware parameter file");
    w.Item("ControllerType", 255, "read only");
    w.Section("Version Information");
    for (const char* key : {"MajorVersion", "MinorVersion", "TunerMajorVersion",
                            "TunerMinorVersion", "TunerBuildNo"}) {
        w.Item(key, 255, "read only");
    }
    w.Section("Hardware Settings-RD");
    for (int bit = 0; bit < 16; ++bit) {
        w.Item(Format("ScanCtrl(%d)", bit), 1, "Read Only");
    }
    w.Section("Sensor Config");
    w.Item("XDimension", 65534, "X dimension of the active area of the LCD. [unit: 0.1mm]");
    w.Item("YDimension", 65534, "Y dimension of the active area of the LCD. [unit: 0.1mm]");
    for (int chip = 0; chip < kChips; ++chip) {
        w.Item(Format("TxStart(%d)", chip), 254,
               "The first active TX channel of the driving chip.");
        w.Item(Format("TxEnd(%d)", chip), 254, "The last active TX channel of the driving chip.");
        w.Item(Format("RxStart(%d)", chip), 254,
               "The first active RX channel of the sensing chip.");
        w.Item(Format("RxEnd(%d)", chip), 254, "The last active Rx channels of the sensing chip.");
    }
}

void WriteFrequency(SampleWriter& w, int f) {
    w.Section(Format("Freq-%d General Config-RD", f));
    for (const char* key :
         {"ClkSrc", "FreqDivider", "PreScaler", "ThresholdIndex", "CalibrationIndex"}) {
        w.Item(key, 254);
    }
    for (const char* group : kGroups) {
        w.Section(Format("Freq-%d %s Reg Parameters", f, group));
        for (int field = 0; field < kRegisterFieldsPerGroup; ++field) {
            w.Item(std::string(group) + Format("_Field%02d", field), 255, "Register field");
        }
    }
    w.Section(Format("Freq-%d %s Parameters-RD", f, "Img"));
    for (const char* quantity :
         {"Img_Delay", "Img_RS", "Img_AFEGain", "Img_MeasureCnt", "Img_GainE"}) {
        for (int record = 0; record < 10; ++record) {
            w.Item(std::string(quantity) + Format("(%d)", record), 63);
        }
    }
}

void WriteAreasAndTables(SampleWriter& w) {
    w.Section("Channel Ctrl");
    w.Item("ChannelCtrl", 1, "0: Disable channel ctrl. 1: Enable channel ctrl");
    for (int j = 0; j < 52; ++j) {
        w.Item(Format("ChannelEnable_%d", j), 255, "Channel Index, 0:Disable, 1:Enable");
    }
    w.Section("Key Area-RD");
    w.Item("NumsOfKey", 48, "Nums of virtual key area. 0:Disable");
    for (int k = 0; k < kKeyAreas; ++k) {
        w.Section(Format("Key Area%d-RD", k));
        for (const char* key :
             {"Attr", "DelayCnt", "KeyCode", "GroupMassTh", "ULx", "ULy", "LRx", "LRy"}) {
            w.Item(key, 65534);
        }
    }
    w.Section("ID Table-RD");
    for (int i = 0; i < 40; ++i) {
        w.Item(Format(i < 8 ? "IdTableR5(%d)" : "IdTableR3(%d)", i < 8 ? i : i - 8), 255);
    }
}

}  // namespace

std::vector<SampleKey> WriteHardwareTextSample(const std::string& path) {
    SampleWriter writer(path);
    if (!writer.Open()) {
        return {};
    }
    WriteHead(writer);
    for (int f = 0; f < kFrequencies; ++f) {
        WriteFrequency(writer, f);
    }
    WriteAreasAndTables(writer);
    if (!writer.Close()) {
        return {};
    }
    return writer.TakeKeys();
}
