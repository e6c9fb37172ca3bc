// GSL's side of the interpolation comparison (run_all.sh): the same curve, sampled at the
// same abscissae as smooth_compare wrote, with GSL's cubic spline, Akima and Steffen
// interpolations.
//
//   smooth_compare_gsl DIR
//
// Reads DIR/curve.txt and DIR/abscissae.bin, writes DIR/gsl_NAME.bin (y, y', y'', running
// integral) and DIR/times_gsl.txt in smooth_compare's layout.
#include "BenchTiming.h"

#include <gsl/gsl_errno.h>
#include <gsl/gsl_spline.h>

#include <fstream>
#include <iostream>
#include <locale>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct SplineDeleter {
    void operator()(gsl_spline* s) const { gsl_spline_free(s); }
};
struct AccelDeleter {
    void operator()(gsl_interp_accel* a) const { gsl_interp_accel_free(a); }
};

struct Results {
    std::vector<double> y, d1, d2, integral;
    explicit Results(std::size_t n) : y(n), d1(n), d2(n), integral(n) { }
};

// y, y' and y'' at every abscissa, the coefficients computed anew as a redraw would.
void derivs(gsl_spline* spline, gsl_interp_accel* acc, const std::vector<double>& x, const std::vector<double>& y,
            const std::vector<double>& xs, Results& r)
{
    gsl_spline_init(spline, x.data(), y.data(), x.size());
    gsl_interp_accel_reset(acc);
    for (std::size_t k = 0; k < xs.size(); ++k) {
        r.y[k] = gsl_spline_eval(spline, xs[k], acc);
        r.d1[k] = gsl_spline_eval_deriv(spline, xs[k], acc);
        r.d2[k] = gsl_spline_eval_deriv2(spline, xs[k], acc);
    }
}

// y and the integral from the first point. gsl_spline_eval_integ from the first point
// would walk every interval before each sample; the integral of the knots passed is kept
// instead and only the current interval's part is asked, as smoothCurve does.
void integral(gsl_spline* spline, gsl_interp_accel* acc, const std::vector<double>& x, const std::vector<double>& y,
              const std::vector<double>& xs, Results& r)
{
    gsl_spline_init(spline, x.data(), y.data(), x.size());
    gsl_interp_accel_reset(acc);
    std::size_t knot = 0;
    double passed = 0.0;
    for (std::size_t k = 0; k < xs.size(); ++k) {
        r.y[k] = gsl_spline_eval(spline, xs[k], acc);
        const std::size_t i = gsl_interp_accel_find(acc, x.data(), x.size(), xs[k]);
        for (; knot < i; ++knot)
            passed += gsl_spline_eval_integ(spline, x[knot], x[knot + 1], acc);
        r.integral[k] = passed + gsl_spline_eval_integ(spline, x[knot], xs[k], acc);
    }
}

bool writeResults(const std::string& path, const Results& r)
{
    std::ofstream out(path, std::ios::binary);
    for (const std::vector<double>* a : {&r.y, &r.d1, &r.d2, &r.integral})
        out.write(reinterpret_cast<const char*>(a->data()), static_cast<std::streamsize>(a->size() * sizeof(double)));
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: smooth_compare_gsl DIR\n";
        return 2;
    }
    const std::string dir = argv[1];
    gsl_set_error_handler_off();

    std::vector<double> x, y;
    {
        std::ifstream in(dir + "/curve.txt");
        in.imbue(std::locale::classic());
        double a, b;
        while (in >> a >> b) {
            x.push_back(a);
            y.push_back(b);
        }
    }
    std::vector<double> xs;
    {
        std::ifstream in(dir + "/abscissae.bin", std::ios::binary);
        double v;
        while (in.read(reinterpret_cast<char*>(&v), sizeof v))
            xs.push_back(v);
    }
    if (x.size() < 5 || xs.empty()) {
        std::cerr << "smooth_compare_gsl: no curve in " << dir << " (run smooth_compare first)\n";
        return 1;
    }

    struct Method {
        const char* name;
        const gsl_interp_type* type;
    };
    std::ostringstream times;
    times.imbue(std::locale::classic());
    times.precision(6);
    const std::unique_ptr<gsl_interp_accel, AccelDeleter> acc(gsl_interp_accel_alloc());
    for (const Method& m : {Method{"cubic", gsl_interp_cspline}, Method{"akima", gsl_interp_akima},
                            Method{"monotone", gsl_interp_steffen}}) {
        const std::unique_ptr<gsl_spline, SplineDeleter> spline(gsl_spline_alloc(m.type, x.size()));
        Results r(xs.size());
        derivs(spline.get(), acc.get(), x, y, xs, r);
        integral(spline.get(), acc.get(), x, y, xs, r);
        if (!writeResults(dir + "/gsl_" + m.name + ".bin", r)) {
            std::cerr << "smooth_compare_gsl: cannot write in " << dir << '\n';
            return 1;
        }
        const double derivSeconds = medianSecondsPerCall([&] { derivs(spline.get(), acc.get(), x, y, xs, r); });
        const double integralSeconds = medianSecondsPerCall([&] { integral(spline.get(), acc.get(), x, y, xs, r); });
        times << m.name << " derivs " << derivSeconds << '\n' << m.name << " integral " << integralSeconds << '\n';
    }
    std::ofstream(dir + "/times_gsl.txt") << times.str();
    return 0;
}
