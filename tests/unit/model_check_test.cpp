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
using tarn::check::ModelLimits;
using tarn::check::objProblem;
using namespace tarn::fuzz;

namespace {

ModelLimits small() {
    ModelLimits limits;
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

using tarn::test::colladaPrimitives;
using tarn::test::colladaSquare;

// A file the guard lets through, written under its name, and what Assimp makes of it with
// the game's import flags: the triangles, or -1 when it fails to read the file.
struct Taken {
    std::string problem;
    int triangles = -1;
};

Taken takenAs(const std::string& name, const std::string& bytes) {
    const std::string path = tarn::test::makeTempDir() + "/" + name;
    writeFile(path, bytes);
    Taken taken{tarn::check::modelFileProblem(path)};
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(path, aiProcess_Triangulate | aiProcess_FlipUVs);
    if (!scene) return taken;
    taken.triangles = 0;
    for (unsigned m = 0; m < scene->mNumMeshes; ++m)
        for (unsigned f = 0; f < scene->mMeshes[m]->mNumFaces; ++f)
            taken.triangles += scene->mMeshes[m]->mFaces[f].mNumIndices == 3;
    return taken;
}

}  // namespace

// Each damaged file must be refused for its own fault, not for another one it shows.
#define EXPECT_REFUSED(why, problem) EXPECT_PRED_FORMAT2(testing::IsSubstring, why, problem)

TEST(ObjCheck, CornersAreCountedPerFaceAcrossContinuedLines) {
    const std::string head = "v 0 0 0\n";
    EXPECT_EQ(objProblem(head + "f 1 2 3 4 5\nf 1 2 3 4 5\n", small()), "");
    EXPECT_REFUSED("a face has 6 corners", objProblem(head + "f 1 2 3 4 5 6\n", small()));
    // A backslash joins lines into one statement, for Assimp as here.
    EXPECT_REFUSED("a face has 6 corners", objProblem(head + "f 1 2 3 \\\n 4 5 6\n", small()));
    // Assimp reads any statement starting with f, l or p as corners after its first word.
    EXPECT_REFUSED("a face has 6 corners", objProblem(head + "fx 1 2 3 4 5 6\n", small()));
    EXPECT_REFUSED("13 face corners",
                   objProblem(head + "f 1 2 3\nl 1 2 3 4 5\np 1 2 3 4 5\n", small()));
}

TEST(ObjCheck, EachKindOfVertexHasItsOwnLimit) {
    std::string ten;
    for (int i = 0; i < 10; ++i) ten += "v 0 0 0\nvt 0 0\nvn 0 0 1\n";
    EXPECT_EQ(objProblem(ten, small()), "");
    EXPECT_REFUSED("11 vertex entries", objProblem(ten + "vn 0 0 1\n", small()));
}

// Assimp gives a file to the one reader that claims its extension without looking at how
// it starts; these once-refused files are read whole.
TEST(ValidModelFiles, AnObjWithALongHeaderCommentIsTaken) {
    const std::string obj = objWithLongHeaderComment("v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
    ASSERT_GT(obj.find("\nv "), 200u) << "a statement in the first 200 bytes";
    for (const char* name : {"header.obj", "HEADER.OBJ"}) {
        const Taken taken = takenAs(name, obj);
        EXPECT_EQ(taken.problem, "") << name;
        EXPECT_EQ(taken.triangles, 1) << name;
    }
}

TEST(ValidModelFiles, ACommentBeforeColladaIsTaken) {
    const Taken taken = takenAs("comment.dae", colladaWithLongComment(collada(), 220));
    EXPECT_EQ(taken.problem, "");
    EXPECT_EQ(taken.triangles, 1);
}

TEST(ValidModelFiles, StripsFansAndLinesAreTakenAndOnlyTrianglesCome) {
    struct Case {
        std::string primitives;
        int triangles;
    };
    const Case cases[] = {
        {colladaPrimitives("tristrips", 1, {"0 1 3 2"}), 2},
        {colladaPrimitives("tristrips", 2, {"0 1 3", "1 2 3"}), 2},
        {colladaPrimitives("trifans", 1, {"0 1 2 3"}), 2},
        {colladaPrimitives("lines", 2, {"0 1 1 2"}), 0},
        {colladaPrimitives("lines", 3, {"0 1 1 2"}), 0},  // a wrong count, as some exporters write
        {colladaPrimitives("linestrips", 1, {"0 1 2 3"}), 0},
        {colladaPrimitives("lines", 1, {"0 2"}) + colladaPrimitives("tristrips", 1, {"0 1 3 2"}) +
             colladaPrimitives("triangles", 1, {"0 1 2"}),
         3},
    };
    for (const Case& c : cases) {
        const Taken taken = takenAs("square.dae", colladaSquare(c.primitives));
        EXPECT_EQ(taken.problem, "") << c.primitives;
        EXPECT_EQ(taken.triangles, c.triangles) << c.primitives;
    }
    // The fuzz harness's intact variants of the duck, on the small document.
    for (const char* kind : {"tristrips", "trifans"})
        EXPECT_EQ(takenAs("each.dae", colladaAsStripsOrFans(collada(), kind)).triangles, 1) << kind;
    EXPECT_EQ(takenAs("lines.dae", colladaWithLines(collada())).triangles, 1);
}

// Strips Assimp would count from too few corners, lines claimed beyond any reason, fans too
// large to triangulate and corners without positions are still damaged files.
TEST(ColladaCheck, StripsFansAndLinesKeepTheirLimits) {
    auto problem = [](const std::string& primitives) {
        return colladaProblem(colladaSquare(primitives), small());
    };
    EXPECT_REFUSED("1 corners, too few", problem(colladaPrimitives("tristrips", 1, {"0"})));
    EXPECT_REFUSED("0 corners, too few", problem(colladaPrimitives("tristrips", 1, {""})));
    // With no count, Assimp reads none of the list, and still counts the strip's faces.
    EXPECT_REFUSED("0 corners, too few", problem(colladaPrimitives("tristrips", 0, {"0 1 2"})));
    EXPECT_REFUSED("0 corners, too few", problem(colladaPrimitives("linestrips", 1, {""})));
    EXPECT_REFUSED("a polygon has 6 corners",
                   problem(colladaPrimitives("trifans", 1, {"0 1 2 3 0 1"})));
    EXPECT_REFUSED("<lines> claims 200000000 corners",
                   problem(colladaPrimitives("lines", 100000000, {"0 1"})));
    EXPECT_REFUSED("<triangles> claims 6 corners",
                   problem(colladaPrimitives("triangles", 2, {"0 1 2"})));
    // Four triangles from a strip of six corners, then one more.
    EXPECT_REFUSED("15 face corners", problem(colladaPrimitives("tristrips", 1, {"0 1 2 3 0 1"}) +
                                              colladaPrimitives("triangles", 1, {"0 1 2"})));
    EXPECT_REFUSED(
        "<tristrips> has no VERTEX input",
        colladaProblem(replaceFirst(colladaSquare(colladaPrimitives("tristrips", 1, {"0 1 2"})),
                                    "VERTEX", "POSITION")));
}

TEST(ColladaCheck, TheIntactDocumentPasses) { EXPECT_EQ(colladaProblem(collada(), small()), ""); }

TEST(ColladaCheck, StridesAndCountsMustStayInsideTheirArrays) {
    // Strides of 1000 or 2^32-1 and a count of -1 are among the fuzz harness's known patterns.
    EXPECT_REFUSED("claims 10 values", colladaProblem(colladaWithArrayCount(collada(), "10")));
    EXPECT_REFUSED("reads past",
                   colladaProblem(replaceFirst(collada(), "count=\"3\"", "count=\"4\"")));
    // Assimp would reserve for a billion triangles.
    EXPECT_REFUSED("<triangles> claims",
                   colladaProblem(replaceFirst(collada(), "<triangles count=\"1\"",
                                               "<triangles count=\"1000000000\"")));
}

TEST(ColladaCheck, IndexListsHoldDigitsOnly) {
    EXPECT_REFUSED("holds 'x'", colladaProblem(colladaWithLetterInIndices(collada())));
    EXPECT_REFUSED("holds '-'", colladaProblem(replaceFirst(collada(), "<p>0 1 2", "<p>0 -1 2")));
}

TEST(ColladaCheck, InstancedNodesFormAFiniteShallowTree) {
    EXPECT_REFUSED("instances itself", colladaProblem(colladaWithSelfInstance(collada())));
    const std::string twoNodeCycle =
        "<library_nodes><node id=\"a\"><instance_node url=\"#b\"/></node>"
        "<node id=\"b\"><instance_node url=\"#a\"/></node></library_nodes>";
    EXPECT_REFUSED("instances itself", colladaProblem(collada(twoNodeCycle)));
    // Found by name where no id matches, as Assimp finds them.
    EXPECT_REFUSED("instances itself",
                   colladaProblem(replaceFirst(
                       collada(), "<node id=\"body\" name=\"body\">",
                       "<node id=\"b\" name=\"duck\"><instance_node url=\"#duck\"/>")));
    EXPECT_REFUSED("elements nest deeper",
                   colladaProblem(colladaWithNestedNodes(collada(), 20), small()));
    EXPECT_EQ(colladaProblem(colladaWithNestedNodes(collada(), 3), small()), "");
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

TEST(ColladaCheck, OnlyWellFormedCollada) {
    EXPECT_REFUSED("not well-formed XML", colladaProblem(collada().substr(0, 400)));
    EXPECT_REFUSED("its root element is <COLLADX>",
                   colladaProblem(replaceFirst(replaceFirst(collada(), "<COLLADA", "<COLLADX"),
                                               "</COLLADA>", "</COLLADX>")));
}
