// Setting and reading back text values under 100 and 1000 keys: ezu's
// settings store beside QSettings (kept in memory through a registered format
// that neither reads nor writes a file, and in INI format on a scratch file
// that is never synced while timed) and std::unordered_map and std::map of
// std::string. One
// iteration sets every key and then reads every key back; figures are per
// key (one set and one get).
//
// ezu is called as programs call it, with relative keys that the store places
// under "/tamri/global/"; the standard maps hold those same full keys. The
// store is process-wide: the 100 keys are the first of the 1000, so the
// 100-key case (which runs first) sees only its own entries.
#include "bench_inputs.h"

#include "ezu/ezu.h"

#include <QSettings>
#include <QTemporaryDir>

#include <map>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

std::vector<std::string> fullKeys(int count) {
    std::vector<std::string> keys;
    for (int i = 0; i < count; ++i)
        keys.push_back("/tamri/global/" + bench::settingsKeys()[size_t(i)]);
    return keys;
}

std::vector<std::string> values(int count) {
    std::vector<std::string> v;
    for (int i = 0; i < count; ++i)
        v.push_back(bench::settingsValue(i));
    return v;
}

void ezuSettings(benchmark::State& state, int count) {
    std::vector<TStr> keys, vals;
    for (int i = 0; i < count; ++i) {
        keys.emplace_back(bench::settingsKeys()[size_t(i)].c_str());
        vals.emplace_back(bench::settingsValue(i).c_str());
    }
    for (int i = 0; i < count; ++i)
        ezuSetString(keys[size_t(i)], vals[size_t(i)], true);
    for (int i = 0; i < count; ++i)
        if (!bench::verify(state, ezuGetString(keys[size_t(i)]) == vals[size_t(i)],
                           "ezu: wrong value read back"))
            return;
    for (auto _ : state) {
        for (int i = 0; i < count; ++i)
            ezuSetString(keys[size_t(i)], vals[size_t(i)], true);
        for (int i = 0; i < count; ++i) {
            TStr v = ezuGetString(keys[size_t(i)]);
            benchmark::DoNotOptimize(v.buffer()->data);
        }
    }
    state.SetItemsProcessed(state.iterations() * count);
}

// The same for a standard map: assignment replaces, a read copies the value
// (empty text for a missing key), as the store does.
template <class Map> void stdSettings(benchmark::State& state, int count) {
    const std::vector<std::string> keys = fullKeys(count), vals = values(count);
    Map map;
    auto get = [&map](const std::string& key) {
        const auto it = map.find(key);
        return it == map.end() ? std::string() : it->second;
    };
    for (int i = 0; i < count; ++i)
        map[keys[size_t(i)]] = vals[size_t(i)];
    for (int i = 0; i < count; ++i)
        if (!bench::verify(state, get(keys[size_t(i)]) == vals[size_t(i)],
                           "std: wrong value read back"))
            return;
    for (auto _ : state) {
        for (int i = 0; i < count; ++i)
            map[keys[size_t(i)]] = vals[size_t(i)];
        for (int i = 0; i < count; ++i) {
            std::string v = get(keys[size_t(i)]);
            benchmark::DoNotOptimize(v.data());
        }
    }
    state.SetItemsProcessed(state.iterations() * count);
}

// QSettings under "tamri/global/<key>", the same full keys; a read converts
// the stored variant back to text, as the store copies its text.
void qtSettings(benchmark::State& state, int count, QSettings& settings) {
    std::vector<QString> keys, vals;
    for (int i = 0; i < count; ++i) {
        keys.push_back(QString::fromStdString("tamri/global/" + bench::settingsKeys()[size_t(i)]));
        vals.push_back(QString::fromStdString(bench::settingsValue(i)));
    }
    for (int i = 0; i < count; ++i)
        settings.setValue(keys[size_t(i)], vals[size_t(i)]);
    for (int i = 0; i < count; ++i)
        if (!bench::verify(state, settings.value(keys[size_t(i)]).toString() == vals[size_t(i)],
                           "QSettings: wrong value read back"))
            return;
    for (auto _ : state) {
        for (int i = 0; i < count; ++i)
            settings.setValue(keys[size_t(i)], vals[size_t(i)]);
        for (int i = 0; i < count; ++i) {
            QString v = settings.value(keys[size_t(i)]).toString();
            benchmark::DoNotOptimize(v.constData());
        }
    }
    state.SetItemsProcessed(state.iterations() * count);
}

// A format whose store is memory only: nothing is read, nothing written.
bool readNothing(QIODevice&, QSettings::SettingsMap&) {
    return true;
}
bool writeNothing(QIODevice&, const QSettings::SettingsMap&) {
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir scratch;
    const QSettings::Format memoryFormat =
        QSettings::registerFormat("ezubench", readNothing, writeNothing);
    for (int count : {100, 1000}) {
        const std::string group = "settings/" + std::to_string(count);
        bench::add(group, "ezu", [count](benchmark::State& s) { ezuSettings(s, count); });
        bench::add(group, "unordered_map", [count](benchmark::State& s) {
            stdSettings<std::unordered_map<std::string, std::string>>(s, count);
        });
        bench::add(group, "map", [count](benchmark::State& s) {
            stdSettings<std::map<std::string, std::string>>(s, count);
        });
        bench::add(group, "qsettings", [count, &scratch, memoryFormat](benchmark::State& s) {
            QSettings settings(scratch.filePath(QString("memory-%1.ezubench").arg(count)),
                               memoryFormat);
            qtSettings(s, count, settings);
        });
        bench::add(group, "qsettings_ini", [count, &scratch](benchmark::State& s) {
            QSettings settings(scratch.filePath(QString("settings-%1.ini").arg(count)),
                               QSettings::IniFormat);
            qtSettings(s, count, settings);
        });
    }
    return bench::run(argc, argv);
}
