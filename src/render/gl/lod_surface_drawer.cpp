#include "render/gl/lod_surface_drawer.h"

#include <GL/gl.h>

#include <vector>

#include "render/lod_draw_plan.h"

void DrawLodSurfaces(TMDM& mesh, const TSkeletalPoser& poser) {
    glFrontFace(GL_CCW);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glDepthMask(GL_TRUE);
    // A reduced mesh has holes through which its inside shows.
    glDisable(GL_CULL_FACE);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    std::vector<TVector3> corners;
    for (std::uint32_t s = 0; mesh.ValidSurface(static_cast<int>(s)); ++s) {
        poser.PoseSurface(mesh, s);
        const TMDMSurface& surface = mesh.surfaces[s];
        const std::int32_t vertexCount = s < mesh.lod.size()
                                             ? mesh.lod[s].lodMinimum
                                             : static_cast<std::int32_t>(surface.numVerts);
        corners.clear();
        AppendLodTriangles(surface, mesh.pose.vertexPositions, vertexCount, corners);
        glBegin(GL_TRIANGLES);
        for (std::size_t i = 0; i + 2 < corners.size(); i += 3) {
            const TVector3 normal = TriangleNormal(corners[i], corners[i + 1], corners[i + 2]);
            if (VectorLength(normal) > 0.0f) glNormal3f(normal.x, normal.y, normal.z);
            for (std::size_t k = i; k < i + 3; ++k)
                glVertex3f(corners[k].x, corners[k].y, corners[k].z);
        }
        glEnd();
    }
}
