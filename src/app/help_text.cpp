#include "app/help_text.h"

#include <QRegularExpression>

#include "app/readme_text.h"

QString HelpText() {
    return QStringLiteral(
        "<h3>Veldra</h3>"
        "<p>Veldra views, converts and edits the models of Quake III-engine games as "
        "Wolfenstein: Enemy Territory uses them: MD3 models with their frames, tags, surfaces "
        "and shaders, and player models: MDM meshes posed by MDX animations.</p>"
        "<h4>Loading</h4>"
        "<ul>"
        "<li><b>File &rarr; Load From File...</b> (Ctrl+Alt+L) opens any supported model.</li>"
        "<li><b>File &rarr; Load MD3 From File...</b> (Ctrl+Alt+3) opens an MD3 model.</li>"
        "<li><b>File &rarr; Load MDM/MDX From File...</b> (Ctrl+Alt+X) opens a player mesh "
        "with its animation; the animation names of the .aninc beside it choose frame "
        "ranges.</li>"
        "<li><b>File &rarr; Load MDS From File...</b> (Ctrl+Alt+S) opens an older MDS model "
        "and converts it into a player mesh with its animation. Its tag bones become the "
        "mesh's tags, whose axes and origins are not exact after an MDS load: load the tags of "
        "an unconverted MDM with <b>Load MDM Tags From File...</b>.</li>"
        "<li><b>Model &rarr; Calculate LOD</b> computes a player mesh's collapse maps and LOD "
        "minimums; the LOD group of the <b>View</b> tab shows and edits each surface's minimum "
        "and previews the mesh at it.</li>"
        "<li>Dropping a model file (or a player's .mdm and .mdx together) on the window loads "
        "it as well.</li>"
        "<li><b>File &rarr; Save As...</b> (Ctrl+S) writes the model back.</li>"
        "<li><b>File &rarr; Export As glTF...</b> writes the model, player or character as "
        "glTF (.glb or .gltf) for other 3D tools, with its animations and textures.</li>"
        "</ul>"
        "<h4>Looking at the model</h4>"
        "<ul>"
        "<li>Drag with the left mouse button to turn the model, with the right button to roll "
        "it.</li>"
        "<li>Shift + left button moves the model, Ctrl + left button circles the camera.</li>"
        "<li>The mouse wheel zooms; a double-click fits the model into the view again.</li>"
        "<li><b>Lock View</b> keeps the view as it is; the pivot list turns the model around "
        "one of its tags.</li>"
        "<li>The <b>Animation</b> group under the view plays the frames; double-click a frame "
        "number to type it.</li>"
        "<li><b>PrtScr</b> saves the view as screenshot<i>N</i>.tga beside the program, with "
        "the model's outline as alpha channel.</li>"
        "</ul>"
        "<h4>The tabs</h4>"
        "<p><b>General</b>, <b>Animation</b>, <b>Tags</b> and <b>Surfaces</b> list the loaded "
        "model: its header, every frame, the tags of every frame and the surfaces with their "
        "shaders. A surface is renamed by editing its name and pressing Enter. <b>Bones</b> "
        "shows a player's skeleton. <b>View</b> "
        "holds the display switches, which the View menu repeats.</p>"
        "<h4>Game data and textures</h4>"
        "<ul>"
        "<li>Choose the game's folder (the one holding etmain) with <b>Settings &rarr; Select "
        "Game Path...</b>. Its pak0.pk3 joins the <b>Game PAKs</b> list on the View tab; "
        "<b>Add PAK...</b> adds further archives, which are searched in list order.</li>"
        "<li><b>File &rarr; Load MD3 From Game...</b> picks a model inside the game's PAKs, "
        "<b>File &rarr; Load MD3 From PK3...</b> one packed with a map (its scripts and images "
        "count first).</li>"
        "<li>Models are drawn with their shaders and images from the game. <b>Texturing "
        "&rarr; Skin</b> loads a skin from the game (Ctrl+T) or from a file (Ctrl+Shift+T; "
        "dropping a .skin file works too) and embeds it into the model (Ctrl+E). "
        "<b>Texturing &rarr; Shaderlist</b> adds shader scripts that win over the game's.</li>"
        "<li>The <b>Surfaces</b> tab shows where each surface's shader was found and previews "
        "the image of every stage; typing a shader name and pressing Enter gives the surface "
        "that shader.</li>"
        "</ul>");
}

QString UsingVeldraText() {
    const QString readme = QString::fromUtf8(ReadmeText());
    const QString heading = QStringLiteral("## Using Veldra\n");
    const qsizetype start = readme.indexOf(heading);
    if (start < 0) return QString();
    const qsizetype end = readme.indexOf(QStringLiteral("\n## "), start + heading.size());
    QString section = readme.mid(start, end < 0 ? -1 : end - start);
    // The pictures live beside the README, not in the program.
    section.remove(
        QRegularExpression(QStringLiteral("^!\\[[^\n]*\n"), QRegularExpression::MultilineOption));
    return section;
}
