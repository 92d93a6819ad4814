// KEN_ALL.CSV files made from the real Tokyo excerpt: the excerpt's lines
// repeated under other prefectures. Most copies give their cities a name of
// their own; every fifth keeps Tokyo's names, so that same-named cities
// stand in more than one prefecture as they do in the real file.
#pragma once

#include "components/core/cp932.h"

#include <QFile>
#include <QString>
#include <string>
#include <string_view>
#include <vector>

namespace ken_all_synthetic {

inline const std::vector<const char*>& prefectureNames()
{
    static const std::vector<const char*> names = {
        "北海道", "青森県", "岩手県", "宮城県", "秋田県", "山形県", "福島県", "茨城県", "栃木県", "群馬県",
        "埼玉県", "千葉県", "東京都", "神奈川県", "新潟県", "富山県", "石川県", "福井県", "山梨県", "長野県",
        "岐阜県", "静岡県", "愛知県", "三重県", "滋賀県", "京都府", "大阪府", "兵庫県", "奈良県", "和歌山県",
        "鳥取県", "島根県", "岡山県", "広島県", "山口県", "徳島県", "香川県", "愛媛県", "高知県", "福岡県",
        "佐賀県", "長崎県", "熊本県", "大分県", "宮崎県", "鹿児島県", "沖縄県"};
    return names;
}

// The real excerpt's bytes (Tokyo, CP932, CR LF).
inline std::string tokyoExcerpt(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = f.readAll();
    return std::string(bytes.constData(), std::size_t(bytes.size()));
}

// The excerpt under the first `prefectures` prefectures, in their order:
// 30 of them make a file of the real one's size (about 125,000 lines).
inline std::string make(const std::string& tokyo, int prefectures)
{
    const SjisString tokyoColumns = sj("\"東京都\",\"");
    std::string out;
    out.reserve(tokyo.size() * std::size_t(prefectures) * 11 / 10);
    for (int p = 0; p < prefectures; ++p) {
        const std::string name = prefectureNames()[std::size_t(p) % prefectureNames().size()];
        const bool ownNames = p % 5 != 0 && name != "東京都";
        const SjisString columns = sj("\"" + name + "\",\"") + (ownNames ? sj(name.substr(0, 3)) : SjisString());
        std::size_t start = 0;
        while (start < tokyo.size()) {
            std::size_t end = tokyo.find('\n', start);
            end = end == std::string::npos ? tokyo.size() : end + 1;
            std::string line = tokyo.substr(start, end - start);
            if (const std::size_t at = line.find(tokyoColumns); at != std::string::npos)
                line.replace(at, tokyoColumns.size(), columns);
            out += line;
            start = end;
        }
    }
    return out;
}

}  // namespace ken_all_synthetic
