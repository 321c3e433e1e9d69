// The lines and JSON fields that the descriptions of the skeletal formats (MDM, MDX, MDS)
// share, so that `info` words each of them alike.
#pragma once

#include <cstddef>
#include <ostream>
#include <string>

#include "cli/info_text.h"
#include "cli/json_writer.h"
#include "md3/md3.h"

// "File:", "Format:", "Name:" and "Version:" lines.
template <class Header>
void HeaderText(const char* format, const Header& h, const std::string& path, std::ostream& out) {
    out << "File:     " << path << "\n"
        << "Format:   " << format << "\n"
        << "Name:     " << Quoted(NameFieldText(h.name)) << "\n"
        << "Version:  " << h.version << "\n";
}

// "LOD:      scale S, bias B", without the end of the line.
template <class Header>
void LodText(const Header& h, std::ostream& out) {
    out << "LOD:      scale " << NumberText(h.lodScale) << ", bias " << NumberText(h.lodBias);
}

// "  [i] "name" shader "s", V vertices, T triangles", without the end of the line.
template <class Surface>
void SurfaceText(std::size_t index, const Surface& s, std::ostream& out) {
    out << "  [" << index << "] " << Quoted(NameFieldText(s.name)) << " shader "
        << Quoted(NameFieldText(s.shader)) << ", " << s.numVerts << " vertices, " << s.numTriangles
        << " triangles";
}

// "  [i] "name" bone B", without the end of the line.
template <class Tag>
void TagText(std::size_t index, const Tag& tag, std::ostream& out) {
    out << "  [" << index << "] " << Quoted(NameFieldText(tag.name)) << " bone " << tag.boneIndex;
}

// "format", "file", "name" and "version" of the open object.
template <class Header>
void HeaderJson(const char* format, const Header& h, const std::string& path, JsonWriter& j) {
    j.Key("format"), j.String(format);
    j.Key("file"), j.String(path);
    j.Key("name"), j.String(NameFieldText(h.name));
    j.Key("version"), j.Int(h.version);
}

template <class Header>
void LodJson(const Header& h, JsonWriter& j) {
    j.Key("lodScale"), j.Float(h.lodScale);
    j.Key("lodBias"), j.Float(h.lodBias);
}

// "name", "shader", "minLod", "vertices" and "triangles" of the open surface object.
template <class Surface>
void SurfaceJson(const Surface& s, JsonWriter& j) {
    j.Key("name"), j.String(NameFieldText(s.name));
    j.Key("shader"), j.String(NameFieldText(s.shader));
    j.Key("minLod"), j.Int(s.minLod);
    j.Key("vertices"), j.Int(s.numVerts);
    j.Key("triangles"), j.Int(s.numTriangles);
}
