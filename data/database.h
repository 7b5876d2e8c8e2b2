#pragma once
/// @file
/// TDatabase: a connection to a folder of dBASE tables, as a form declares it:
///
///     object DB: TDatabase
///       DatabaseName = 'DB'
///       DriverName = 'STANDARD'
///       Params.Strings = ( 'PATH=.' 'ENABLE BCD=FALSE' 'DEFAULT DRIVER=DBASE' )
///       SessionName = 'Default'
///     end
///
/// Tables name it by DatabaseName (see TTable). PATH may be absolute or relative; a relative
/// path (and a missing one, which means ".") is taken from the base folder: the folder of the
/// form file that declares the database, which the form loader or the program sets with
/// SetBaseFolder, or the working folder when none is set. Backslashes count as separators, so
/// paths written on Windows keep working.
///
/// Every database registers itself in the session list of databases while it exists, so that a
/// table can find it by name from anywhere in the program. Thread rule: each thread has a session
/// of its own, as the framework's database sessions do: a table finds the databases made on its
/// own thread (the list is guarded, so databases may come and go on several threads at once).

#include <filesystem>
#include <string>
#include <vector>

#include "framework/component.h"
#include "framework/export.h"
#include "framework/string_list.h"

namespace tabulix::data {

class TDataSet;

/// @brief A connection to a folder of dBASE tables, named by DatabaseName; the file comment
/// shows it in a form file.
/// @threads A database and the tables opened through it are used from one thread at a time;
/// each thread has a session (list of databases) of its own.
class TABULIX_API TDatabase : public framework::TComponent {
public:
    /// Makes an unconnected database and registers it in the session's list.
    /// @param owner frees it with itself, or nullptr.
    explicit TDatabase(framework::TComponent* owner);
    /// Closes the connection (and the data sets using it) and leaves the session's list.
    ~TDatabase() override;

    std::string ClassName() const override { return "TDatabase"; }
    void DefineProperties(framework::PropertyList& properties) override;

    /// The name tables give as their DatabaseName.
    const std::string& DatabaseName() const { return databaseName_; }
    /// Sets the name tables give as their DatabaseName.
    /// @param name the name.
    /// @throws EDatabaseError while connected.
    void SetDatabaseName(const std::string& name);
    /// The driver: "STANDARD" (dBASE) is the one there is.
    const std::string& DriverName() const { return driverName_; }
    /// Sets the driver.
    /// @param name the driver's name; Open refuses any but "STANDARD".
    /// @throws EDatabaseError while connected.
    void SetDriverName(const std::string& name);
    /// The session's name, kept for form files.
    const std::string& SessionName() const { return sessionName_; }
    /// Sets the session's name.
    /// @param name the name.
    void SetSessionName(const std::string& name) { sessionName_ = name; }
    /// The parameters: PATH (the folder), ENABLE BCD, DEFAULT DRIVER.
    framework::TStringList& Params() { return params_; }
    /// The parameters, read-only.
    const framework::TStringList& Params() const { return params_; }

    /// The folder a relative PATH counts from; empty for the working folder.
    const std::filesystem::path& BaseFolder() const { return baseFolder_; }
    /// Sets the folder a relative PATH counts from (SetBaseFolders does it for a whole form).
    /// @param folder the folder.
    void SetBaseFolder(const std::filesystem::path& folder) { baseFolder_ = folder; }

    /// Whether the database is connected.
    bool Connected() const { return connected_; }
    /// Opens or closes the connection. While loading from a form file the request is kept and
    /// carried out when loading ends.
    /// @param value true to connect.
    /// @throws EDatabaseError as Open.
    void SetConnected(bool value);
    /// Connects: checks the driver and parameters and that the folder exists.
    /// @throws EDatabaseError naming the database and the problem.
    void Open();
    /// Closes the data sets that use the connection, then the connection.
    void Close();

    /// While connected: the absolute folder of the tables.
    const std::filesystem::path& Directory() const { return directory_; }
    /// While connected: whether ENABLE BCD asks for BCD fields.
    bool EnableBcd() const { return enableBcd_; }

    /// The database of a name: first among the components of `owner` (the form of the table that
    /// asks), then in the calling thread's session.
    /// @param name the DatabaseName, ASCII letter case ignored.
    /// @param owner where to look first, or nullptr.
    /// @return the database, or nullptr when there is none.
    static TDatabase* Find(const std::string& name, const framework::TComponent* owner);

    /// Registers a data set opened on this connection, which Close then closes first.
    /// @param dataSet the data set.
    void AttachDataSet(TDataSet* dataSet);
    /// Forgets a data set that closed.
    /// @param dataSet the data set.
    void DetachDataSet(TDataSet* dataSet);

protected:
    /// Connects when the form file asked for Connected = True.
    void Loaded() override;

private:
    std::string displayName() const;
    void checkDisconnected(const std::string& what) const;

    std::string databaseName_;
    std::string driverName_ = "STANDARD";
    std::string sessionName_ = "Default";
    framework::TStringList params_;
    std::filesystem::path baseFolder_;
    std::filesystem::path directory_;
    bool enableBcd_ = false;
    bool connected_ = false;
    bool streamedConnected_ = false;
    std::vector<TDataSet*> dataSets_;  // borrowed: open data sets using the connection
};

}  // namespace tabulix::data
