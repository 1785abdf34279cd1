#include "tools/gallery/GallerySkin.h"

#include "platform/classlib/core/Streams.h"
#include "platform/classlib/forms/Forms.h"
#include "skin/SkinData.h"
#include "skin/SkinManage.h"

#include <filesystem>
#include <iostream>

bool SkinGallery(TForm& form, const std::string& file)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        std::cerr << "gallery: no skin file " << file << "\n";
        return false;
    }
    auto* data = new TSkinData(&form);
    TFileStream package(file, fmOpenRead);
    if (!data->LoadSkinFromStream(package)) {
        std::cerr << "gallery: " << file << " is not a skin package that loads\n";
        return false;
    }
    // Progress bars and date-time pickers are skinned when the settings name their class.
    (void)data->Skin3rd()->Add("TProgressBar=progress");
    (void)data->Skin3rd()->Add("TDateTimePicker=datetimepicker");
    data->SetActive(true);
    return true;
}

void EndGallerySkin()
{
    FreeSkinManager();
}
