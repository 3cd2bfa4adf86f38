#include "GenerateDocument.h"

#include "model/DateTime.h"
#include "model/HVItems.h"
#include "text/TextUtil.h"

#include <cstdio>
#include <random>
#include <string>

namespace hv::bench {

namespace {

const char* const kJapaneseWords[] = {"技術",   "ニュース", "ブログ", "日記", "天気予報", "料理レシピ", "旅行",
                                      "東京",   "大阪",     "写真",   "音楽", "映画",     "図書館",     "辞書",
                                      "開発者", "資料",     "掲示板", "地図", "鉄道",     "時刻表"};
const char* const kEnglishWords[] = {"News",  "Daily", "Tech",    "Review", "Guide", "Linux", "Open",
                                     "Cloud", "Notes", "Journal", "Market", "Sport", "Music", "Photo"};
const char* const kSchedules[] = {"W 2 9:00 2,0", "W 1,2,3,4,5,6,7 7:00 0,12", "W 6 18:30 1,0", "M 1 0:00 30,0"};

// A name of about 20 characters: words until 16 characters, then a number.
std::string MakeName(std::mt19937& random, bool japanese, int number) {
    std::string name;
    while (Utf8Length(name) < 14) {
        if (japanese) {
            name += kJapaneseWords[random() % std::size(kJapaneseWords)];
        } else {
            if (!name.empty()) {
                name += ' ';
            }
            name += kEnglishWords[random() % std::size(kEnglishWords)];
        }
    }
    return name + (japanese ? "　" : " ") + std::to_string(number);
}

std::string MakeURL(std::mt19937& random, int number) {
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, "https://www.site%03u.example.com/%s/articles/2024/%06d.html",
                  static_cast<unsigned>(random() % 1000), kEnglishWords[random() % std::size(kEnglishWords)], number);
    return buffer;
}

void FillFolder(THVFolder& folder, std::mt19937& random, int& counter) {
    for (int i = 0; i < kItemsPerFolder; ++i) {
        const int n = counter++;
        THVItem* item = folder.List().Add();
        item->SetName(MakeName(random, n % 3 == 0, n));
        item->SetURL(MakeURL(random, n));
        if (n % 5 == 0) {
            item->SetMemo("あとで読む記事。\r\nSee also the follow-up post #" + std::to_string(n));
        }
        if (n % 10 == 0) {
            TCmdItem& cmd = item->GetCommands().Add();
            cmd.Title = "メモを開く";
            cmd.CommandLine = "/usr/bin/gedit \"/home/user/notes/" + std::to_string(n) + ".txt\"";
            cmd.UpdateLastVisited = n % 20 == 0;
        }
        if (n % 20 == 0) {
            item->SetSchedule(kSchedules[(n / 20) % std::size(kSchedules)]);
        }
        if (n % 2 == 0) {
            item->SetLastVisited(EncodeDateTime(2020 + n % 5, 1 + n % 12, 1 + n % 28, n % 24, n % 60));
        }
    }
}

} // namespace

std::unique_ptr<THVFolder> GenerateDocument() {
    std::mt19937 random(20240601);
    auto root = std::make_unique<THVFolder>("Hollyvine");
    int counter = 0;
    for (int t = 0; t < kTopFolders; ++t) {
        THVFolder* top = root->AddChild(MakeName(random, t % 3 == 0, t));
        FillFolder(*top, random, counter);
        for (int s = 0; s < kSubFoldersEach; ++s) {
            FillFolder(*top->AddChild(MakeName(random, s % 3 == 0, s)), random, counter);
        }
    }
    return root;
}

} // namespace hv::bench
