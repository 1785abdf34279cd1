#include "png/PngErrors.h"

const char* const EPNGCannotAssignChunkText = "The chunks must be compatible to be assigned.";
const char* const EPNGUnknownPalEntryText = "There is no such palette entry.";
const char* const EPNGCannotChangeSizeText =
    "The \"Portable Network Graphics\" image can not be resize by changing width and height "
    "properties. Try assigning the image from a bitmap.";

EPNGOutMemory::EPNGOutMemory()
    : Exception("Some operation could not be performed because the system is out of resources. "
                "Close some windows and try again.")
{
}

EPngUnexpectedEnd::EPngUnexpectedEnd()
    : Exception("This \"Portable Network Graphics\" image is invalid because the decoder found an "
                "unexpected end of the file.")
{
}

EPngInvalidCRC::EPngInvalidCRC()
    : Exception("This \"Portable Network Graphics\" image is not valid because it contains invalid "
                "pieces of data (crc error)")
{
}

EPngInvalidIHDR::EPngInvalidIHDR()
    : Exception("The \"Portable Network Graphics\" image could not be loaded because one of its main "
                "piece of data (ihdr) might be corrupted")
{
}

EPNGMissingMultipleIDAT::EPNGMissingMultipleIDAT()
    : Exception("This \"Portable Network Graphics\" image is invalid because it has missing image parts.")
{
}

EPNGInvalidPalette::EPNGInvalidPalette()
    : Exception("The \"Portable Network Graphics\" image contains an invalid palette.")
{
}

EPNGInvalidFileHeader::EPNGInvalidFileHeader()
    : Exception("The file being readed is not a valid \"Portable Network Graphics\" image because it "
                "contains an invalid header. This file may be corruped, try obtaining it again.")
{
}

EPNGIHDRNotFirst::EPNGIHDRNotFirst()
    : Exception("This \"Portable Network Graphics\" image is not supported or it might be invalid.\r\n"
                "(IHDR chunk is not the first)")
{
}

EPNGSizeExceeds::EPNGSizeExceeds()
    : Exception("This \"Portable Network Graphics\" image is not supported because either it's width or "
                "height exceeds the maximum size, which is 65535 pixels length.")
{
}

EPNGUnknownCriticalChunk::EPNGUnknownCriticalChunk()
    : Exception("This \"Portable Network Graphics\" image contains an unknown critical part which could "
                "not be decoded.")
{
}

EPNGUnknownCompression::EPNGUnknownCompression()
    : Exception("This \"Portable Network Graphics\" image is encoded with an unknown compression scheme "
                "which could not be decoded.")
{
}

EPNGUnknownInterlace::EPNGUnknownInterlace()
    : Exception("This \"Portable Network Graphics\" image uses an unknown interlace scheme which could "
                "not be decoded.")
{
}

EPNGNoImageData::EPNGNoImageData()
    : Exception("This \"Portable Network Graphics\" image contains no data.")
{
}

EPNGHeaderNotPresent::EPNGHeaderNotPresent()
    : Exception("This operation is not valid because the current image contains no valid header.")
{
}

EPNGZLIBError::EPNGZLIBError(const std::string& description)
    : Exception("Could not decompress the image because it contains invalid compressed data.\r\n"
                " Description: " + description)
{
}
