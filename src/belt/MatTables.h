#pragma once

#include "dataset/Table.h"

// The field layouts of the belt module's tables: names, kinds, widths, unit codes, display
// formats, defaults and required flags. Rules and events are attached by Tdm_mat.
namespace zrn::belt::tables {

//! Belt types ("mat.xml").
void DeclareMat(ds::Table& table);
//! Sprocket sizes of a series ("matserie_tandwiel.xml"), ordered by teeth; TandenDP calculated.
void DeclareSprockets(ds::Table& table);
//! Bores of a sprocket ("tandwiel.xml").
void DeclareBores(ds::Table& table);
//! Strength correction by temperature ("temp_corr_factor.xml").
void DeclareTempCorrection(ds::Table& table);
//! Product materials ("product_materiaal.xml"); materiaal calculated.
void DeclareProductMaterials(ds::Table& table);
//! Wearstrip materials ("geleiding_materiaal.xml"); materiaal calculated.
void DeclareGuideMaterials(ds::Table& table);
//! Support types ("support.xml"); Support calculated.
void DeclareSupports(ds::Table& table);
//! Lubrication ("smering.xml"); smeer_oms calculated.
void DeclareLubrication(ds::Table& table);
//! Start-up factors ("opstartfactor.xml"), holding the built-in speed bands until a file
//! replaces them.
void DeclareStartupFactors(ds::Table& table);
//! Wheel spacing by load ratio ("mat_wielafstand.xml").
void DeclareWheelSpacing(ds::Table& table);
//! The input and result record in record order, with its nested layout and load rows.
//! Returns the detail table of the layout rows.
ds::Table& DeclareInvoer(ds::Table& invoer);

} // namespace zrn::belt::tables
