// Where the game's data files live beside the program, and the file names of a weapon's
// pictures, icons and description text.
#pragma once

#include <string>
#include <string_view>

namespace kv {

// The data folders; the numbers are the kinds callers have always passed.
enum class DataKind {
    Program = 0,
    Land = 1,
    Bmp = 2,
    Unit = 3,
    Wave = 4,
    Program5 = 5,
    Program6 = 6,
    Map = 7,
    Rf = 8,
    NetSave = 9,
    MUnit = 10,
    Bgm = 11,
    Rule = 12,
    Product = 13,
};

// The sub-folder of the program folder for `kind` ("" for the program folder itself).
std::string_view dataSubFolder(DataKind kind);

// Program folder + sub-folder + `fileName`. When a file or folder of that name exists with
// another letter case (a folder copied from Windows), that spelling is returned. While the
// program folder is read-only, a file the program wrote into the user's data folder (same
// sub-folder) is found there first.
std::string dataPath(std::string_view fileName, DataKind kind);
// Where the program writes the data file `fileName`: dataPath(), or while the program folder
// is read-only the same sub-folder of the user's data folder (created as needed).
std::string writableDataPath(std::string_view fileName, DataKind kind);

// The unit picture of a weapon, a file name in the unit folder. Large ("_L") and suffixed
// forms are tried in a fixed order; the suffix of the first existing file sets
// `pictureKind` (h 1, p 2, a 3, s 4, none 0). Without any, "%04d.bmp" and `pictureKind` is
// left as it was.
std::string unitPictureFile(int weaponId, int pictureNumber, int& pictureKind);

// The two spellings of user-defined weapon files: "e" for installed user products, "t" for
// the editor's own drawing.
enum class UserForm { E, T };

// The small icon of `size` (16, 32, 48) for a user-defined icon number (above 19999), or "".
std::string smallIconFile(int number, int size, UserForm form);
// The weapon-type icon of `size` for a user-defined icon number (above 19999), or "".
std::string typeIconFile(int number, int size, UserForm form);
// The description text file of a weapon.
std::string descriptionFile(int textNumber, UserForm form);

}  // namespace kv
