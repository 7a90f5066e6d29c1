#pragma once
// The launcher's one view of the game's vantorra.ini: its path and every key/value
// pair read from it. Loaded once at start-up; saved on Play, on options Save and in
// skip mode, rewriting only the lines of the managed keys.
#include <map>
#include <set>
#include <string>

class ConfigFile {
public:
    // Composes the path; no file access.
    ConfigFile();
    explicit ConfigFile(std::string path);

    // Reads and parses the file into the values; always true. A failed read is shown to
    // the player; what arrived before it is kept.
    bool load();
    // Like load, but takes only the lines of the managed keys, all that a save uses. Skip
    // mode asks for no other key, and in a large file the others cost more to hold than
    // the rest of the start.
    bool loadManagedKeys();
    // After a load that could not read the file whole (held by another program, a failed
    // read, too large; a missing file is no failure), loads again, quietly (the load was
    // shown), keeping the values set since. True once the values hold the file's.
    bool retryLoad();

    // Whether a failed read during a save is shown to the player at once, or left to the
    // caller, who shows saveError() in a message of its own.
    enum class ReadErrors { shown, leftToCaller };
    // Rewrites the file from what is on disk now and the values (after a failed load, the
    // file's own values except those set since). Through a link, the file it leads to is
    // rewritten. True when the file now holds them (written, or nothing to change); false
    // when it could not be read or written, leaving it as it was, with saveError() the
    // system's code for why. A file with more than one name (hard links) is not written:
    // a new file in its place would leave the other names with the old content.
    bool save(ReadErrors readErrors = ReadErrors::shown);
    unsigned long saveError() const { return saveError_; }
    // For the player: where the last save failed, and why when the launcher refused.
    std::string saveFailure() const;

    bool contains(const std::string& key) const;
    // The key's value, or empty when absent; never inserts.
    std::string get(const std::string& key) const;
    void set(const std::string& key, const std::string& value);

    const std::string& path() const { return path_; }
    const std::map<std::string, std::string>& values() const { return values_; }

private:
    bool saveOrFail(ReadErrors readErrors);
    void loadKeys(bool managedKeysOnly);
    void takeValues(const std::string& content);

    std::string path_;
    std::map<std::string, std::string> values_;
    // Keys set in this run: a load after a failed one keeps their values.
    std::set<std::string> setKeys_;
    bool managedKeysOnly_ = false;
    bool loadFailed_ = false;
    unsigned long saveError_ = 0;
    bool refusedForNames_ = false;
};
