#pragma once

#include "belt/MatRapportNotation.h"
#include "rtl/Dates.h"

#include <string>
#include <vector>

namespace zrn::ds {
class Field;
class Table;
} // namespace zrn::ds

namespace zrn::belt {

class Tdm_mat;

//! Builds the belt reports from a data module as it stands: the text report of one
//! calculation and the columnar line (with its header) that compares calculations one per
//! line. Both are Windows-1252 report text in the module's current language and unit
//! system, every line ended by CR LF.
//!
//! The builders only read: they run no calculation and leave every cursor where it was
//! (layout and load rows, and the lookup tables whose texts they show).
class TMatRapport {
public:
    //! A builder reading `module`.
    explicit TMatRapport(Tdm_mat& module);

    //! The text report, `date` in its date line.
    std::string TextReport(const rtl::Date& date);
    //! The five header lines of a columnar report.
    std::string ColumnarHeader();
    //! The columnar line of the current calculation.
    std::string ColumnarLine();

private:
    //! What the report shows of one layout row.
    struct ZoneRow {
        long long index = 0;
        bool filled = false; //!< the zone has a length
        std::string number, length, temperature;
    };
    //! What the reports show of one load row (pulls in the current unit system).
    struct LoadRow {
        long long index = 0;
        bool filled = false; //!< the row has a strength
        double strength = 0, running = 0, runningPerc = 0, startup = 0, startupPerc = 0;
        std::string number;
    };

    std::vector<std::string> InputLines();
    std::vector<std::string> OutputLines();
    std::vector<std::string> RemarkLines();

    std::string ZoneText(int index) const;
    std::string LoadText(int index) const;
    const LoadRow* FindLoadRow(long long index) const;
    std::string FrictionNote();
    std::string LookupText(ds::Table& list, const std::string& keyField, const std::string& key,
                           const std::string& textField);

    // Values of record fields: quantities in the current unit system.
    double Num(const std::string& name) const;
    long long Int(const std::string& name) const;
    std::string Shown(const std::string& name) const;
    std::string Str(const std::string& name) const;

    void ReadZones();
    void ReadLoadRows();

    Tdm_mat& module_;
    TReportNotation n_;
    std::vector<ZoneRow> zones_;
    std::vector<LoadRow> loads_;
};

} // namespace zrn::belt
