#include "core/LogRecord.h"

#include <algorithm>

namespace {

// 10 rows of 99 printable characters; the literal's terminating zero is the 100th byte.
constexpr char kKeyText[kLogKeyRows][kLogKeyRowSize] = {
    "Uvk,C})~$GzR%7A!%1A3z4O!a2wPbHL9hqxN]HRLi-lNdN@H-Bc'xZ8S[S:+@Jj]NIhvbXr)`6>hRvc0+M[&C<Xn(,UOn("
    "#N'V2",
    "xc#.va`3jW2_$`XkearNvMMk!;Hhj<IVE^JfaN*gbs]RCWBsA,YM]nA.M$F&!doS4;;<[_828}~#9ys:z*.SDUg!"
    "Xu4oWUYCVH%",
    "Z~AAFPzx;m9T&fR2s<RqYpNMBtC9B/t-cpjPPxSe%rhM/"
    "NMIn%H~pg(#k`eHfhLCR=S!6ZFJEJ('HM*;D+.wL%L{sw](3yP*r}%",
    "usuVy*5BYh98r}wZ>6P+'Cd*A]]`</"
    "Kyu8j!XEB2L[*qmqj(KPFNDlgPSWb91]Cf-_k!aRfQ'Q+;eUkY%pj~j2Ullvu1TzCjyiK",
    "Mr+$7e5D0G-VxdX:kAH4v7Gt},TKoktS&TFGLgklp2ro:5Gjs67)n[uB$U5<5GJK6][!A(._''f.:fC*g[Rhin+fG.N8~"
    "wS&fwF",
    "r5m=|)Qn:Q3&-YM*Xqqmo$o&/"
    "qHIgt|Pa(7z!V4lc$2=DDTfEzpNzNpoax0h:a&6D])BiHq:P{Ep~Hi}p(,tRnjQ^<$R5(ZX5wQ",
    "%R-b!CEZBV=k`G=Y!Z*zP@s2)#NI[nq^ElZ)IDJ8'WMB$uFZ!%YcJTZY4a03naOChQU^34Z>gwbmaL9[g)GlV)Gxix3,"
    "S46Rr#.",
    "oys<NS;fcFsU/q4N6JcMIi_L5!hv$/"
    "mBP^;7[!5mT=$;ccF#^6N,J<06'-t=OFjzAu@><33]>yrwtMtXw&M5JZ4ONB~1zpT~=2z",
    "x_H]B$1|A0>61Ss<s;WU1&XOjvvv=T.7kH<v^]zU=;gX+x|_NaQiQ[EdVco8Rvw%YfzeceLAm:{Yl9]OzkuQ*i@hiCMt!;"
    "%x-LI",
    "%7H43_MJnZ;Y>:UJnm}P2{K@+$Nw!;=:cG5uHX6{!20~WB3Y~4g`N;:UIGicOfpZ7D,WhV.h<)$$}GcMo($^ALF/"
    "Il@y;ois_V&",
};

LogKeyTable MakeKeyTable() {
    LogKeyTable table{};
    for (std::size_t row = 0; row < kLogKeyRows; ++row) {
        for (std::size_t i = 0; i < kLogKeyRowSize; ++i) {
            table[row][i] = static_cast<uint8_t>(kKeyText[row][i]);
        }
    }
    return table;
}

void PutLe16(std::vector<uint8_t>& out, std::size_t offset, uint16_t value) {
    out[offset] = static_cast<uint8_t>(value & 0xFF);
    out[offset + 1] = static_cast<uint8_t>(value >> 8);
}

}  // namespace

const LogKeyTable& LogKeys() {
    static const LogKeyTable table = MakeKeyTable();
    return table;
}

uint16_t LogCheckWord(const uint8_t* scrambled, std::size_t size) {
    uint32_t sum = kLogCheckWordSeed;
    for (std::size_t i = 0; i < size; ++i) {
        sum += static_cast<uint32_t>(static_cast<int32_t>(static_cast<int8_t>(scrambled[i])));
    }
    return static_cast<uint16_t>(sum & 0xFFFF);
}

std::vector<uint8_t> EncodeLogRecords(std::string_view line, unsigned keyRow) {
    const auto& key = LogKeys()[keyRow % kLogKeyRows];
    std::vector<uint8_t> out;
    std::size_t done = 0;
    do {
        const std::size_t size = std::min(line.size() - done, kLogRecordMaxText);
        const std::size_t start = out.size();
        out.resize(start + kLogRecordHeaderSize + size, 0);
        uint8_t* text = out.data() + start + kLogRecordHeaderSize;
        for (std::size_t i = 0; i < size; ++i) {
            text[i] = static_cast<uint8_t>(line[done + i]) ^ key[i % kLogKeyRowSize];
        }
        PutLe16(out, start, LogCheckWord(text, size));
        PutLe16(out, start + 2, static_cast<uint16_t>(size));
        out[start + 4] = static_cast<uint8_t>(keyRow % kLogKeyRows);
        done += size;
    } while (done < line.size());
    return out;
}
