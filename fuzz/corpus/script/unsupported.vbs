Sub X
For i = 1 To 3
Next
End Sub
