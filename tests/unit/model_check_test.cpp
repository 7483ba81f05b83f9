// The model guard counts what Assimp would build from an OBJ, and checks every count,
// stride, index list and instance in a COLLADA document against what the document holds;
// what Assimp reads well passes, however it starts.
#include "check/model_check.h"

#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <gtest/gtest.h>

#include <assimp/Importer.hpp>

#include "fuzz/damaged_files.h"
#include "support/collada_fixture.h"
#include "support/process.h"

using tarn::check::colladaProblem;
using tarn::check::objProblem;
using tarn::test::colladaPrimitives;
using tarn::test::colladaSquare;
using namespace tarn::fuzz;

namespace {

tarn::check::ModelLimits small() {
    tarn::check::ModelLimits limits;
    limits.vertices = 10;
    limits.faceCorners = 12;
    limits.cornersPerFace = 5;
    limits.elementDepth = 12;
    limits.expandedNodes = 20;
    return limits;
}

std::string collada(const std::string& extraNodes = "") {
    return tarn::test::colladaTriangle(extraNodes);
}

// Writes the file under its name, expects the guard to let it through, and returns the
// triangles Assimp builds from it with the game's import flags (-1 when it cannot read it).
int trianglesTaken(const std::string& name, const std::string& bytes) {
    const std::string path = tarn::test::makeTempDir() + "/" + name;
    writeFile(path, bytes);
    EXPECT_EQ(tarn::check::modelFileProblem(path), "") << name;
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(path, aiProcess_Triangulate | aiProcess_FlipUVs);
    if (!scene) return -1;
    int triangles = 0;
    for (unsigned m = 0; m < scene->mNumMeshes; ++m)
        for (unsigned f = 0; f < scene->mMeshes[m]->mNumFaces; ++f)
            triangles += scene->mMeshes[m]->mFaces[f].mNumIndices == 3;
    return triangles;
}

}  // namespace

// Each damaged file must be refused for its own fault, not for another one it shows.
#define EXPECT_REFUSED(why, problem) EXPECT_PRED_FORMAT2(testing::IsSubstring, why, problem)

TEST(ObjCheck, CornersAndVerticesAreCountedAsAssimpReadsThem) {
    const std::string head = "v 0 0 0\n";
    EXPECT_EQ(objProblem(head + "f 1 2 3 4 5\nf 1 2 3 4 5\n", small()), "");
    // A backslash joins lines into one statement, for Assimp as here.
    EXPECT_REFUSED("a face has 6 corners", objProblem(head + "f 1 2 3 \\\n 4 5 6\n", small()));
    // Assimp reads any statement starting with f, l or p as corners after its first word.
    EXPECT_REFUSED("a face has 6 corners", objProblem(head + "fx 1 2 3 4 5 6\n", small()));
    EXPECT_REFUSED("13 face corners",
                   objProblem(head + "f 1 2 3\nl 1 2 3 4 5\np 1 2 3 4 5\n", small()));
    // Each kind of vertex has its own limit.
    std::string ten;
    for (int i = 0; i < 10; ++i) ten += "v 0 0 0\nvt 0 0\nvn 0 0 1\n";
    EXPECT_EQ(objProblem(ten, small()), "");
    EXPECT_REFUSED("11 vertex entries", objProblem(ten + "vn 0 0 1\n", small()));
}

// Assimp gives a file to the one reader that claims its extension without looking at how
// it starts; these once-refused files are read whole.
TEST(ValidModelFiles, LongLeadingCommentsAreTaken) {
    const std::string obj = objWithLongHeaderComment("v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
    ASSERT_GT(obj.find("\nv "), 200u) << "a statement in the first 200 bytes";
    EXPECT_EQ(trianglesTaken("header.obj", obj), 1);
    EXPECT_EQ(trianglesTaken("HEADER.OBJ", obj), 1);
    EXPECT_EQ(trianglesTaken("comment.dae", colladaWithLongComment(collada(), 220)), 1);
}

TEST(ValidModelFiles, StripsFansAndLinesAreTakenAndOnlyTrianglesCome) {
    const auto square = [](const std::string& primitives) {
        return trianglesTaken("square.dae", colladaSquare(primitives));
    };
    EXPECT_EQ(square(colladaPrimitives("tristrips", 2, {"0 1 3", "1 2 3"})), 2);
    EXPECT_EQ(square(colladaPrimitives("trifans", 1, {"0 1 2 3"})), 2);
    // A wrong count, as some exporters write.
    EXPECT_EQ(square(colladaPrimitives("lines", 3, {"0 1 1 2"})), 0);
    EXPECT_EQ(square(colladaPrimitives("lines", 1, {"0 2"}) +
                     colladaPrimitives("tristrips", 1, {"0 1 3 2"}) +
                     colladaPrimitives("triangles", 1, {"0 1 2"})),
              3);
    EXPECT_EQ(trianglesTaken("lines.dae", colladaWithLines(collada())), 1);
}

// Strips Assimp would count from too few corners, lines claimed beyond any reason, fans too
// large to triangulate and corners without positions are still damaged files.
TEST(ColladaCheck, StripsFansAndLinesKeepTheirLimits) {
    auto problem = [](const std::string& primitives) {
        return colladaProblem(colladaSquare(primitives), small());
    };
    EXPECT_REFUSED("1 corners, too few", problem(colladaPrimitives("tristrips", 1, {"0"})));
    // With no count, Assimp reads none of the list, and still counts the strip's faces.
    EXPECT_REFUSED("0 corners, too few", problem(colladaPrimitives("tristrips", 0, {"0 1 2"})));
    EXPECT_REFUSED("a polygon has 6 corners",
                   problem(colladaPrimitives("trifans", 1, {"0 1 2 3 0 1"})));
    EXPECT_REFUSED("<lines> claims 200000000 corners",
                   problem(colladaPrimitives("lines", 100000000, {"0 1"})));
    // Four triangles from a strip of six corners, then one more.
    EXPECT_REFUSED("15 face corners", problem(colladaPrimitives("tristrips", 1, {"0 1 2 3 0 1"}) +
                                              colladaPrimitives("triangles", 1, {"0 1 2"})));
    EXPECT_REFUSED(
        "<tristrips> has no VERTEX input",
        colladaProblem(replaceFirst(colladaSquare(colladaPrimitives("tristrips", 1, {"0 1 2"})),
                                    "VERTEX", "POSITION")));
}

TEST(ColladaCheck, CountsStridesAndIndicesMustFitTheirArrays) {
    EXPECT_EQ(colladaProblem(collada(), small()), "");
    EXPECT_REFUSED("claims 10 values", colladaProblem(colladaWithArrayCount(collada(), "10")));
    EXPECT_REFUSED("reads past",
                   colladaProblem(replaceFirst(collada(), "count=\"3\"", "count=\"4\"")));
    EXPECT_REFUSED("<triangles> claims",
                   colladaProblem(replaceFirst(collada(), "<triangles count=\"1\"",
                                               "<triangles count=\"1000000000\"")));
    EXPECT_REFUSED("holds '-'", colladaProblem(replaceFirst(collada(), "<p>0 1 2", "<p>0 -1 2")));
    EXPECT_REFUSED("not well-formed XML", colladaProblem(collada().substr(0, 400)));
    EXPECT_REFUSED("its root element is <COLLADX>",
                   colladaProblem(replaceFirst(replaceFirst(collada(), "<COLLADA", "<COLLADX"),
                                               "</COLLADA>", "</COLLADX>")));
}

TEST(ColladaCheck, InstancedNodesFormAFiniteShallowTree) {
    EXPECT_REFUSED("instances itself",
                   colladaProblem(collada(
                       "<library_nodes><node id=\"a\"><instance_node url=\"#b\"/></node>"
                       "<node id=\"b\"><instance_node url=\"#a\"/></node></library_nodes>")));
    // Found by name where no id matches, as Assimp finds them.
    EXPECT_REFUSED("instances itself",
                   colladaProblem(replaceFirst(
                       collada(), "<node id=\"body\" name=\"body\">",
                       "<node id=\"b\" name=\"duck\"><instance_node url=\"#duck\"/>")));
    EXPECT_REFUSED("elements nest deeper",
                   colladaProblem(colladaWithNestedNodes(collada(), 20), small()));
    // A chain of instances is as deep as the nesting it stands for.
    std::string chain = "<library_nodes>";
    for (int i = 0; i < 20; ++i)
        chain += "<node id=\"n" + std::to_string(i) + "\"><instance_node url=\"#n" +
                 std::to_string(i + 1) + "\"/></node>";
    EXPECT_REFUSED("nodes nest deeper",
                   colladaProblem(collada(chain + "</library_nodes>"), small()));
    // 64 nodes once expanded, from a few bytes.
    EXPECT_REFUSED("nodes and meshes once instanced",
                   colladaProblem(colladaWithDoublingInstances(collada(), 6), small()));
}
